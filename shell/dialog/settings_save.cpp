#include "shell/dialog/settings_save.h"

#include <optional>
#include <utility>

#include "shell/settings/code_page_932.h"
#include "shell/settings/settings_file.h"
#include "shell/settings/settings_keys.h"

namespace quorlane {
namespace {

// The name under which the user knows each choice on the dialog.
std::string choiceName(const std::string& key) {
    if (key == kPictureModeKey) return "画像の選択";
    if (key == kPictureFileKey) return "画像ﾌｧｲﾙ";
    if (key == kMusicModeKey) return "BGM";
    if (key == kRepeatTrackKey) return "曲目をﾘﾋﾟｰﾄ";
    return "BGMﾌｧｲﾙ";
}

}  // namespace

bool settingsFileCanHold(const std::string& text) {
    const std::optional<std::string> bytes = utf8ToCp932(text);
    return bytes && bytes->size() <= kLongestSettingValue;
}

std::vector<UnsavedChoice> saveDialogSettings(const SettingsValues& values,
                                              const std::string& settingsFile) {
    const std::vector<std::pair<const char*, std::string>> keys = {
        {kPictureModeKey, std::to_string(values.pictureMode)},
        {kPictureFileKey, values.pictureFile},
        {kMusicModeKey, std::to_string(values.musicMode)},
        {kRepeatTrackKey, std::to_string(values.repeatTrack)},
        {kMusicFileKey, values.musicFile},
    };
    std::vector<UnsavedChoice> unsaved;
    for (const auto& [key, value] : keys) {
        if (!settingsFileCanHold(value)) unsaved.push_back({key, SaveProblem::CannotHold});
    }
    if (!unsaved.empty()) return unsaved;
    for (const auto& [key, value] : keys) {
        if (!writeIniValue(kSection, key, value, settingsFile)) {
            unsaved.push_back({key, SaveProblem::CannotWrite});
        }
    }
    return unsaved;
}

std::string unsavedChoicesMessage(const std::vector<UnsavedChoice>& unsaved) {
    std::string text = "次の設定を保存できませんでした。\n";
    bool cannotHold = false;
    for (const UnsavedChoice& choice : unsaved) {
        text += "\n・" + choiceName(choice.key);
        if (choice.problem == SaveProblem::CannotHold) {
            text += "：ﾌｧｲﾙ名に使えない文字があるか、長すぎます";
            cannotHold = true;
        } else {
            text += "：設定ﾌｧｲﾙに書き込めません";
        }
    }
    if (cannotHold) {
        text += "\n\n設定ﾌｧｲﾙは変更していません。別のﾌｧｲﾙを選んでください。";
    } else if (unsaved.size() < 5) {
        text += "\n\nほかの設定は保存しました。";
    }
    return text;
}

}  // namespace quorlane
