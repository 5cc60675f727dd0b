#pragma once
// What the settings dialog shows and enables, kept apart from the widgets: the load steps,
// the picture and music choices, the repeat box and the chosen files, all on the shared
// settings values. The window mirrors this state into its controls after every event.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shell/settings/settings_values.h"

namespace quorlane {

// A 12 x 12 option mark: empty until a choice first reaches it.
enum class Mark : uint8_t { Empty, On, Off };

struct DialogView {
    std::array<Mark, 2> pictureMarks{Mark::Empty, Mark::Empty};             // index = picture mode
    std::array<Mark, 3> musicMarks{Mark::Empty, Mark::Empty, Mark::Empty};  // index = music mode
    bool pictureChooserEnabled = false;  // "..." of the picture panel
    bool musicChooserEnabled = false;    // "..." of the music panel
    bool repeatBoxEnabled = false;
    std::string picturePathText;  // the picture path box; the preview is drawn from it
    std::string musicPathText;
    std::string repeatText;
};

// The repeat box's text for a track: decimal, empty for 0.
std::string repeatTrackText(int16_t track);
// The 21 list entries: "", "1", ... "20".
std::vector<std::string> repeatTrackEntries();
// The track a repeat-box text gives when saving: a number (sign, fraction, exponent, blanks
// around it) rounded half to even; 0 for any other text; the previous track when the rounded
// number does not fit 16 bits.
int16_t repeatTrackFromText(const std::string& text, int16_t previous);

// One coordinate of the zoom anchor: the screen position when it fits 16 bits, else as it was.
int16_t anchorCoordinate(long position, int16_t previous);

// What the file choosers may start in besides the current choice's folder. An installed copy's
// own folder holds only the programs; the user's files are in the user's folders.
struct ChooserFolders {
    bool installed = false;  // else a portable copy, whose choosers start in its own folder
    std::string pictures;    // the user's Pictures folder; empty when there is none
    std::string music;       // the user's Music folder; empty when there is none
    std::string home;
};

class DialogChoices {
public:
    DialogChoices(SettingsValues& values, std::string programFolder, ChooserFolders folders = {})
        : values_(values), programFolder_(std::move(programFolder)), folders_(std::move(folders)) {}

    // Load steps 4 to 11. True when the preview is to be drawn from the path box.
    bool load();

    // A press (any mouse button) on the mark or on the label of picture choice i. True when
    // the path box and the preview are to be emptied (the label of the current desktop only).
    bool pressPicture(int choice, bool onLabel);
    // A click on the mark or the label of music choice i.
    void clickMusic(int choice);

    // A file taken from the chooser; the picture one is to be previewed afterwards.
    void pictureChosen(const std::string& path);
    void musicChosen(const std::string& path);

    // The repeat box's text as the user left it.
    void setRepeatText(const std::string& text) { view_.repeatText = text; }
    // Takes the track from the repeat box just before saving.
    void takeRepeatTrack();

    // Where each file chooser starts: the folder of the chosen file when there is one; else,
    // for an installed copy, the user's Pictures (Music) folder, else home; a portable copy
    // starts in the folder load and the choices keep (its own, or the chosen file's).
    std::string pictureChooserFolder() const;
    std::string musicChooserFolder() const;

    const DialogView& view() const { return view_; }
    const SettingsValues& values() const { return values_; }

private:
    void showMusicChoice(int choice);
    std::string chooserFolder(const std::string& file, const std::string& kept,
                              const std::string& userFolder) const;

    SettingsValues& values_;
    std::string programFolder_;
    ChooserFolders folders_;
    DialogView view_;
};

}  // namespace quorlane
