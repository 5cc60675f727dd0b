#include "shell/dialog/dialog_choices.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "shell/settings/settings_file.h"

namespace quorlane {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The whole text as one decimal number, or nothing. Parsed without the locale, so "2,5" is no
// number whatever the user's language.
std::optional<double> parseNumber(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    std::string number;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') number += '-';
        ++i;
    }
    const std::size_t start = i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        const std::size_t exponent = j;
        while (j < text.size() && isDigit(text[j])) ++j;
        if (j == exponent) return std::nullopt;
        i = j;
    }
    if (i != text.size()) return std::nullopt;
    number.append(text.substr(start, i - start));
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    // A huge exponent is still a number; it just does not fit the track below.
    if (error == std::errc::result_out_of_range) return number.front() == '-' ? -1e300 : 1e300;
    if (error != std::errc() || end != number.data() + number.size()) return std::nullopt;
    return value;
}

bool fitsInt16(double value) { return value >= -32768.0 && value <= 32767.0; }

}  // namespace

std::string repeatTrackText(int16_t track) {
    return track == 0 ? std::string() : std::to_string(track);
}

std::vector<std::string> repeatTrackEntries() {
    std::vector<std::string> entries;
    for (int16_t track = 0; track <= 20; ++track) entries.push_back(repeatTrackText(track));
    return entries;
}

int16_t repeatTrackFromText(const std::string& text, int16_t previous) {
    const std::optional<double> number = parseNumber(text);
    if (!number) return 0;
    const double rounded = std::nearbyint(*number);  // the default mode rounds halves to even
    if (!fitsInt16(rounded)) return previous;
    return static_cast<int16_t>(rounded);
}

int16_t anchorCoordinate(long position, int16_t previous) {
    if (position < -32768 || position > 32767) return previous;
    return static_cast<int16_t>(position);
}

bool DialogChoices::load() {
    // A mode outside its range reaches no mark, so the group keeps its empty marks.
    const int pictureMode = values_.pictureMode;
    if (pictureMode == 0 || pictureMode == 1) {
        view_.pictureMarks[pictureMode] = Mark::On;
        view_.pictureMarks[pictureMode ^ 1] = Mark::Off;
    }
    view_.picturePathText = values_.pictureFile;
    bool drawPreview = false;
    if (pictureMode == 1) {
        view_.pictureChooserEnabled = true;
        drawPreview = true;
        values_.pictureFolder = folderOfPath(values_.pictureFile);
    } else {
        view_.pictureChooserEnabled = false;
        values_.pictureFolder = programFolder_;
    }
    showMusicChoice(values_.musicMode);
    view_.repeatText = repeatTrackText(values_.repeatTrack);
    view_.musicPathText = values_.musicFile;
    return drawPreview;
}

bool DialogChoices::pressPicture(int choice, bool onLabel) {
    if (choice != 0 && choice != 1) return false;
    values_.pictureMode = static_cast<int16_t>(choice);
    view_.pictureMarks[choice] = Mark::On;
    view_.pictureMarks[choice ^ 1] = Mark::Off;
    view_.pictureChooserEnabled = choice == 1;
    // Only the label of the current desktop empties the path box; the setting keeps its file.
    if (choice == 0 && onLabel) {
        view_.picturePathText.clear();
        return true;
    }
    return false;
}

void DialogChoices::clickMusic(int choice) {
    if (choice < 0 || choice > 2) return;
    showMusicChoice(choice);
    values_.musicMode = static_cast<int16_t>(choice);
}

void DialogChoices::showMusicChoice(int choice) {
    view_.musicChooserEnabled = false;
    view_.repeatBoxEnabled = false;
    view_.musicMarks = {Mark::Off, Mark::Off, Mark::Off};
    if (choice < 0 || choice > 2) return;
    view_.musicMarks[static_cast<std::size_t>(choice)] = Mark::On;
    view_.repeatBoxEnabled = choice == 1;
    view_.musicChooserEnabled = choice == 2;
}

void DialogChoices::pictureChosen(const std::string& path) {
    values_.pictureFile = path;
    view_.picturePathText = path;
    values_.pictureFolder = folderOfPath(view_.picturePathText);
}

void DialogChoices::musicChosen(const std::string& path) {
    values_.musicFile = path;
    view_.musicPathText = path;
    values_.musicFolder = folderOfPath(values_.musicFile);
}

void DialogChoices::takeRepeatTrack() {
    values_.repeatTrack = repeatTrackFromText(view_.repeatText, values_.repeatTrack);
}

}  // namespace quorlane
