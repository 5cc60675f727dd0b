#include "shell/dialog/dialog_layout.h"

namespace quorlane {

namespace {

using enum ControlKind;
constexpr DialogArea Win = DialogArea::Window;
constexpr DialogArea Pic = DialogArea::PicturePanel;
constexpr DialogArea Mus = DialogArea::MusicPanel;
constexpr std::uint32_t White = 0xFFFFFF;
constexpr std::uint32_t Black = 0x000000;
constexpr std::uint32_t Grey = 0x808080;

// One control a row: kind, area, name, {x, y, width, height}, choice, fits its text, colour,
// caption. The music choices keep their numbers (0 none, 1 CD, 2 file) in the screen order CD,
// none, file.
// clang-format off
constexpr DialogControl kControls[] = {
    {Panel,         Pic, "Pic_D(2)",     {12, 12, 365, 101},  -1, false, Grey,  ""},
    {Panel,         Mus, "Pic_D(1)",     {12, 124, 365, 117}, -1, false, Grey,  ""},
    {Text,          Win, "",             {12, 252, 165, 13},  -1, true,  White,
     "Designed by Quorlane Ver.1.0.0"},
    {Link,          Win, "lbl_URL",      {12, 268, 214, 13},  -1, true,  White, ""},
    {SaveButton,    Win, "Cmd_Set",      {236, 256, 69, 25},  -1, false, Black, "設定"},
    {CancelButton,  Win, "Cmd_Can",      {308, 256, 69, 25},  -1, false, Black, "ｷｬﾝｾﾙ"},

    {TitlePlate,    Pic, "",             {8, 8, 95, 22},      -1, false, Black, ""},
    {Title,         Pic, "",             {8, 12, 95, 13},     -1, false, Black, "画像の選択"},
    {ChoiceMark,    Pic, "Img_Sel(0)",   {116, 12, 12, 12},   0,  false, Black, ""},
    {ChoiceText,    Pic, "lbl_Sel(0)",   {132, 12, 83, 13},   0,  true,  Black, "ｶﾚﾝﾄ・ﾃﾞｽｸﾄｯﾌﾟ"},
    {ChoiceMark,    Pic, "Img_Sel(1)",   {116, 32, 12, 12},   1,  false, Black, ""},
    {ChoiceText,    Pic, "lbl_Sel(1)",   {132, 32, 92, 13},   1,  true,  Black, "画像ﾌｧｲﾙを指定"},
    {ChooserButton, Pic, "Cmd_Pic",      {228, 28, 37, 21},   -1, false, Black, "..."},
    {PathBox,       Pic, "lbl_Fname(1)", {8, 56, 257, 33},    -1, false, Black, ""},
    {PreviewBox,    Pic, "Display",      {272, 8, 80, 80},    -1, false, White, ""},

    {TitlePlate,    Mus, "",             {8, 8, 95, 22},      -1, false, Black, ""},
    {Title,         Mus, "",             {8, 12, 95, 13},     -1, false, Black, "BGM"},
    {ChoiceMark,    Mus, "Img_BGM(1)",   {116, 12, 12, 12},   1,  false, Black, ""},
    {ChoiceText,    Mus, "lbl_BGM(1)",   {132, 12, 43, 13},   1,  false, Black, "音楽CD"},
    {RepeatBox,     Mus, "BGM_Repeat",   {200, 8, 41, 20},    -1, false, Black, ""},
    {Text,          Mus, "",             {248, 12, 66, 13},   -1, false, Black, "曲目をﾘﾋﾟｰﾄ"},
    {ChoiceMark,    Mus, "Img_BGM(0)",   {116, 32, 12, 12},   0,  false, Black, ""},
    {ChoiceText,    Mus, "lbl_BGM(0)",   {132, 32, 23, 13},   0,  false, Black, "無し"},
    {ChoiceMark,    Mus, "Img_BGM(2)",   {116, 52, 12, 12},   2,  false, Black, ""},
    {ChoiceText,    Mus, "lbl_BGM(2)",   {132, 52, 60, 13},   2,  false, Black, "MP3、WAV"},
    {ChooserButton, Mus, "Cmd_BGM",      {200, 48, 37, 21},   -1, false, Black, "..."},
    {PathBox,       Mus, "lbl_Fname(0)", {8, 72, 345, 33},    -1, false, Black, ""},
};
// clang-format on

}  // namespace

std::span<const DialogControl> dialogControls() { return kControls; }

}  // namespace quorlane
