#include "shell/music/mci_command.h"

#include <charconv>
#include <vector>

#include "common/ascii_case.h"
#include "shell/music/mci_errors.h"

namespace quorlane::mci {
namespace {

struct Token {
    std::string text;
    bool quoted = false;
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

uint32_t tokenize(std::string_view text, std::vector<Token>& tokens) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (isBlank(text[i])) {
            ++i;
            continue;
        }
        Token token;
        if (text[i] == '"') {
            std::size_t close = text.find('"', i + 1);
            if (close == std::string_view::npos) return kNoClosingQuote;
            token.text = std::string(text.substr(i + 1, close - i - 1));
            token.quoted = true;
            i = close + 1;
            // A quoted token must stand alone: `"a"b` is not two words run together.
            if (i < text.size() && !isBlank(text[i])) return kExtraCharacters;
        } else {
            std::size_t end = i;
            while (end < text.size() && !isBlank(text[end])) ++end;
            token.text = std::string(text.substr(i, end - i));
            i = end;
        }
        tokens.push_back(std::move(token));
    }
    return kOk;
}

bool is(const Token& token, std::string_view word) {
    return !token.quoted && sameWord(token.text, word);
}

uint32_t parseInteger(const Token& token, int& value) {
    const char* first = token.text.data();
    const char* last = first + token.text.size();
    auto [ptr, ec] = std::from_chars(first, last, value);
    if (token.text.empty() || ptr != last) return kBadInteger;
    if (ec == std::errc::result_out_of_range) return kOutOfRange;
    if (ec != std::errc()) return kBadInteger;
    return kOk;
}

uint32_t parseVerb(const Token& token, Verb& verb) {
    static constexpr std::pair<std::string_view, Verb> kVerbs[] = {
        {"open", Verb::Open}, {"close", Verb::Close},   {"play", Verb::Play},
        {"stop", Verb::Stop}, {"status", Verb::Status}, {"set", Verb::Set},
    };
    if (token.quoted) return kUnrecognizedCommand;
    for (const auto& [word, v] : kVerbs) {
        if (sameWord(token.text, word)) {
            verb = v;
            return kOk;
        }
    }
    return kUnrecognizedCommand;
}

uint32_t parseOpen(const std::vector<Token>& t, std::size_t i, Command& c) {
    for (; i < t.size(); ++i) {
        std::string* target = nullptr;
        if (is(t[i], "type"))
            target = &c.type;
        else if (is(t[i], "alias"))
            target = &c.alias;
        else
            return kUnrecognizedKeyword;
        if (!target->empty()) return kDuplicateFlags;
        if (i + 1 >= t.size() || t[i + 1].text.empty()) return kMissingParameter;
        *target = t[++i].text;
    }
    return kOk;
}

uint32_t parsePlay(const std::vector<Token>& t, std::size_t i, Command& c) {
    for (; i < t.size(); ++i) {
        std::optional<std::string>* target = nullptr;
        if (is(t[i], "from"))
            target = &c.from;
        else if (is(t[i], "to"))
            target = &c.to;
        else
            return kUnrecognizedKeyword;
        if (target->has_value()) return kDuplicateFlags;
        if (i + 1 >= t.size()) return kMissingParameter;
        *target = t[++i].text;
    }
    return kOk;
}

uint32_t parseNoArguments(const std::vector<Token>& t, std::size_t i) {
    return i < t.size() ? kUnrecognizedKeyword : kOk;
}

uint32_t parseStatus(const std::vector<Token>& t, std::size_t i, Command& c) {
    std::vector<const Token*> words;
    for (; i < t.size(); ++i) words.push_back(&t[i]);
    if (words.empty()) return kMissingParameter;
    std::size_t used = 1;
    if (is(*words[0], "mode")) {
        c.item = StatusItem::Mode;
    } else if (is(*words[0], "position")) {
        c.item = StatusItem::Position;
        if (words.size() > 1 && is(*words[1], "track")) {
            if (words.size() < 3) return kMissingParameter;
            int track = 0;
            if (uint32_t code = parseInteger(*words[2], track)) return code;
            c.track = track;
            used = 3;
        }
    } else if (words.size() >= 2 && is(*words[0], "current") && is(*words[1], "track")) {
        c.item = StatusItem::CurrentTrack;
        used = 2;
    } else if (words.size() >= 3 && is(*words[0], "number") && is(*words[1], "of") &&
               is(*words[2], "tracks")) {
        c.item = StatusItem::NumberOfTracks;
        used = 3;
    } else {
        return kUnrecognizedKeyword;
    }
    return words.size() == used ? kOk : kUnrecognizedKeyword;
}

uint32_t parseSet(const std::vector<Token>& t, std::size_t i, Command& c) {
    std::vector<const Token*> words;
    for (; i < t.size(); ++i) words.push_back(&t[i]);
    if (words.size() < 2 || !is(*words[0], "time") || !is(*words[1], "format")) {
        return words.empty() ? kMissingParameter : kUnrecognizedKeyword;
    }
    if (words.size() < 3) return kMissingParameter;
    if (words.size() > 3) return kUnrecognizedKeyword;
    if (!is(*words[2], "tmsf")) return kBadTimeFormat;
    c.timeFormat = TimeFormat::Tmsf;
    return kOk;
}

}  // namespace

bool sameWord(std::string_view a, std::string_view b) { return asciiEqualIgnoringCase(a, b); }

uint32_t parseCommand(std::string_view text, Command& command) {
    command = Command{};
    std::vector<Token> tokens;
    if (uint32_t code = tokenize(text, tokens)) return code;
    if (tokens.empty()) return kMissingCommandString;
    if (uint32_t code = parseVerb(tokens[0], command.verb)) return code;
    if (tokens.size() < 2 || tokens[1].text.empty()) return kMissingDeviceName;
    command.device = tokens[1].text;
    switch (command.verb) {
    case Verb::Open: return parseOpen(tokens, 2, command);
    case Verb::Play: return parsePlay(tokens, 2, command);
    case Verb::Status: return parseStatus(tokens, 2, command);
    case Verb::Set: return parseSet(tokens, 2, command);
    case Verb::Close:
    case Verb::Stop: return parseNoArguments(tokens, 2);
    }
    return kUnrecognizedCommand;
}

}  // namespace quorlane::mci
