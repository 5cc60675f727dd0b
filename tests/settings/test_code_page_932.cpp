#include "shell/settings/code_page_932.h"

#include <gtest/gtest.h>

namespace quorlane {
namespace {

TEST(CodePage932, KeepsBackslashAndTildeAsAscii) {
    // "表" ends in 0x5C; a Shift-JIS table would also turn a lone 0x5C into a yen sign.
    EXPECT_EQ(utf8ToCp932("/a\\表~.bmp"), std::string("/a\\\x95\x5C~.bmp"));
    EXPECT_EQ(cp932ToUtf8("\x5C\x95\x5C\x7E\xCC\xA7"), std::string("\\表~ﾌｧ"));
}

TEST(CodePage932, RefusesTextThatWouldComeBackDifferent) {
    EXPECT_EQ(utf8ToCp932("\xF0\x9F\x8E\xB5.mp3"), std::nullopt);  // no such character
    EXPECT_EQ(utf8ToCp932("a\xFF"
                          "b"),
              std::nullopt);                            // not UTF-8
    EXPECT_EQ(utf8ToCp932("a\xE7\x94"), std::nullopt);  // cut-off sequence
    // Mapped one way only: U+301C and the yen sign would read back as U+FF5E and "\".
    EXPECT_EQ(utf8ToCp932("\xE3\x80\x9C"), std::nullopt);
    EXPECT_EQ(utf8ToCp932("\xC2\xA5"), std::nullopt);
    EXPECT_EQ(cp932ToUtf8("ab\x81"), std::nullopt);  // lone lead byte
    EXPECT_EQ(utf8ToCp932(""), std::string());
}

TEST(CodePage932, PrefixNeverEndsInsideADoubleByteCharacter) {
    EXPECT_EQ(cp932PrefixLength("abc", 2), 2u);
    EXPECT_EQ(cp932PrefixLength("abc", 5), 3u);
    EXPECT_EQ(cp932PrefixLength("a\x95\x5C", 2), 1u);  // would split "表"
    EXPECT_EQ(cp932PrefixLength("a\x95\x5C", 3), 3u);
    EXPECT_EQ(cp932PrefixLength("\x95\x5C\xCC", 3), 3u);  // half-width kana is one byte
}

}  // namespace
}  // namespace quorlane
