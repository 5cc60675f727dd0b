// Loading a part of the program by path: a real shared object loads and its entry is found,
// each part its own however many are loaded; anything else is refused with the reason in one
// line, and nothing is left open.
#include <gtest/gtest.h>

#include <dirent.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "shell/platform/loadable_part.h"
#include "tests/support/temp_folder.h"

namespace quorlane {
namespace {

int openDescriptors() {
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir) != nullptr) ++count;
        closedir(dir);
    }
    return count;
}

TEST(LoadablePart, LoadsByPathOrSaysWhyNot) {
    const test::TempFolder temp;
    const std::filesystem::path& folder = temp.path();
    const std::string text = (folder / "not-an-elf.so").string();
    std::ofstream(text) << "not an ELF";
    struct Case {
        const char* name;
        std::string path;
        const char* entry;
        int answer;
        std::string error;  // the start of the reason; empty when it loads
    };
    const Case cases[] = {
        {"a shared object", QUORLANE_SAMPLE_MODULE, "quorlane_sample_answer", 42, ""},
        {"another one", QUORLANE_OTHER_SAMPLE_MODULE, "quorlane_sample_answer", 7, ""},
        {"the first again", QUORLANE_SAMPLE_MODULE, "quorlane_sample_answer", 42, ""},
        {"without that entry", QUORLANE_SAMPLE_MODULE, "quorlane_missing", 0,
         std::string(QUORLANE_SAMPLE_MODULE) + ": has no quorlane_missing"},
        {"not a shared object", text, "quorlane_sample_answer", 0, text + ": "},
        {"missing", (folder / "gone.so").string(), "quorlane_sample_answer", 0,
         (folder / "gone.so").string() + ": cannot open shared object file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int before = openDescriptors();
        std::string error;
        void* entry = loadPart(c.path, c.entry, error);
        EXPECT_EQ(openDescriptors(), before);
        if (c.error.empty()) {
            ASSERT_NE(entry, nullptr);
            EXPECT_EQ(error, "");
            EXPECT_EQ(reinterpret_cast<int (*)()>(entry)(), c.answer);
        } else {
            EXPECT_EQ(entry, nullptr);
            EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
            EXPECT_EQ(error.find('\n'), std::string::npos) << error;
        }
    }
}

}  // namespace
}  // namespace quorlane
