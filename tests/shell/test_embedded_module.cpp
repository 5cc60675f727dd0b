// Loading a part of the program from its bytes: the bytes of a real shared object load and
// their entry is found, each part its own however many are loaded; anything else is refused
// with the reason, and nothing is left open.
#include <gtest/gtest.h>

#include <dirent.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "shell/platform/embedded_module.h"

namespace quorlane {
namespace {

std::vector<unsigned char> bytesOf(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

int openDescriptors() {
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir) != nullptr) ++count;
        closedir(dir);
    }
    return count;
}

TEST(EmbeddedModule, LoadsFromBytesOrSaysWhyNot) {
    const std::vector<unsigned char> sample = bytesOf(QUORLANE_SAMPLE_MODULE);
    const std::vector<unsigned char> other = bytesOf(QUORLANE_OTHER_SAMPLE_MODULE);
    ASSERT_GT(sample.size(), 1000u);
    const std::vector<unsigned char> text = {'n', 'o', 't', ' ', 'a', 'n', ' ', 'E', 'L', 'F'};
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
        const char* entry;
        int answer;
        const char* error;  // the start of the reason; empty when it loads
    };
    const Case cases[] = {
        {"a shared object", sample, "quorlane_sample_answer", 42, ""},
        {"another one", other, "quorlane_sample_answer", 7, ""},
        {"the first again", sample, "quorlane_sample_answer", 42, ""},
        {"without that entry", sample, "quorlane_missing", 0, "part-d: has no quorlane_missing"},
        {"not a shared object", text, "quorlane_sample_answer", 0, "part-e: "},
        {"nothing built in",
         {},
         "quorlane_sample_answer",
         0,
         "part-f: not built into this program"},
    };
    char name[] = "part-a";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int before = openDescriptors();
        std::string error;
        const EmbeddedModule module = EmbeddedModule::load(c.bytes, name, c.entry, error);
        if (*c.error == '\0') {
            ASSERT_TRUE(module);
            EXPECT_EQ(error, "");
            EXPECT_EQ(reinterpret_cast<int (*)()>(module.entry())(), c.answer);
            EXPECT_EQ(openDescriptors(), before + 1);  // the loaded part's own
        } else {
            EXPECT_EQ(openDescriptors(), before);
            EXPECT_FALSE(module);
            EXPECT_EQ(module.entry(), nullptr);
            EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
        }
        ++name[5];
    }
}

}  // namespace
}  // namespace quorlane
