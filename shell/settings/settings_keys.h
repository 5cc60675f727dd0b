#pragma once
// The settings file's section and keys, as stored (code page 932 once written). Reading and
// saving use these same names.
namespace quorlane {

inline constexpr const char* kSection = "Section";
inline constexpr const char* kPictureModeKey = "画像";
inline constexpr const char* kPictureFileKey = "画像ﾌｧｲﾙ";
inline constexpr const char* kMusicModeKey = "BGM区分";
inline constexpr const char* kRepeatTrackKey = "BGMﾘﾋﾟｰﾄ";
inline constexpr const char* kMusicFileKey = "BGMﾌｧｲﾙ";

}  // namespace quorlane
