#include "shell/dialog/dialog_choices.h"

#include <string_view>

#include "common/decimal_number.h"
#include "shell/settings/settings_file.h"

namespace quorlane {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The whole text, blanks and tabs around it aside, as one decimal number, or nothing.
std::optional<double> parseNumber(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return parseDecimal(text);
}

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
    return roundToInt16(*number, Rounding::HalvesToEven).value_or(previous);
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

std::string DialogChoices::chooserFolder(const std::string& file, const std::string& kept,
                                         const std::string& userFolder) const {
    if (!folders_.installed) return kept;
    if (!file.empty()) return folderOfPath(file);
    if (!userFolder.empty()) return userFolder;
    if (!folders_.home.empty()) return folders_.home;
    return kept;
}

std::string DialogChoices::pictureChooserFolder() const {
    return chooserFolder(values_.pictureFile, values_.pictureFolder, folders_.pictures);
}

std::string DialogChoices::musicChooserFolder() const {
    return chooserFolder(values_.musicFile, values_.musicFolder, folders_.music);
}

void DialogChoices::takeRepeatTrack() {
    values_.repeatTrack = repeatTrackFromText(view_.repeatText, values_.repeatTrack);
}

}  // namespace quorlane
