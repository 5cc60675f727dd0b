// Replays the fuzzer's seeds, its grown corpus and every input that once crashed it, so
// every build (not only the clang fuzzing build) keeps them passing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "renderer/core/bmp_decoder.h"

namespace quorlane {
namespace {

namespace fs = std::filesystem;

TEST(DecoderCorpus, EveryStoredInputDecodesOrFailsCleanly) {
    const std::set<std::string> messages = {"Unknown DIB file format.", "Out of memory.",
                                            "Image file conversion error."};
    size_t inputs = 0, decoded = 0;
    for (const char* folder : {"seeds", "corpus", "crashers"}) {
        const fs::path dir = fs::path(QUORLANE_SOURCE_DIR) / "fuzz" / folder;
        if (!fs::is_directory(dir)) continue;
        for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
            if (!entry.is_regular_file() || entry.path().filename().string().starts_with("."))
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
            std::string error;
            const std::optional<RgbImage> image = decodeBmp(bytes.data(), bytes.size(), &error);
            ++inputs;
            if (image) {
                ++decoded;
                EXPECT_TRUE(image->width >= 1 && image->height >= 1 &&
                            int64_t(image->width) * image->height <= int64_t(64) << 20)
                    << entry.path();
                EXPECT_EQ(image->data.size(), size_t(image->width) * size_t(image->height) * 3)
                    << entry.path();
            } else {
                EXPECT_TRUE(messages.count(error)) << entry.path() << ": " << error;
            }
        }
    }
    // The seeds alone are valid pictures of every format: a missing corpus must not pass.
    EXPECT_GE(inputs, 10u);
    EXPECT_GE(decoded, 10u);
}

}  // namespace
}  // namespace quorlane
