// What Windows shows of the built programs: their version information (in the file's
// properties and the screen saver list) and their icon.
#include <windows.h>
// windows.h first; the test framework after it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorlane {
namespace {

constexpr char kBinDir[] = QUORLANE_BIN_DIR;

// A value of the version information's Japanese (0411, Unicode) string table.
std::string versionValue(const std::string& file, const std::string& name) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
    if (size == 0) return "(no version information)";
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(file.c_str(), 0, size, block.data())) return "(unreadable)";
    void* value = nullptr;
    UINT length = 0;
    const std::string query = "\\StringFileInfo\\041104B0\\" + name;
    if (!VerQueryValueA(block.data(), query.c_str(), &value, &length) || length == 0)
        return "(missing)";
    return static_cast<const char*>(value);
}

TEST(WindowsPrograms, CarryTheProductsVersionInformationAndIcon) {
    struct Case {
        const char* file;
        const char* description;
    };
    for (const Case& c : {Case{"Quorlane.dll", "Quorlane renderer"},
                          Case{"Quorlane.scr", "Quorlane (Screen Saver)"}}) {
        const std::string path = std::string(kBinDir) + "/" + c.file;
        EXPECT_EQ(versionValue(path, "ProductName"), "Quorlane (Screen Saver)") << c.file;
        EXPECT_EQ(versionValue(path, "ProductVersion"), "1.00") << c.file;
        EXPECT_EQ(versionValue(path, "FileVersion"), "1.00") << c.file;
        EXPECT_EQ(versionValue(path, "FileDescription"), c.description) << c.file;
        EXPECT_EQ(versionValue(path, "OriginalFilename"), c.file) << c.file;
        EXPECT_EQ(ExtractIconExA(path.c_str(), -1, nullptr, nullptr, 0), 1u) << c.file;
    }
}

}  // namespace
}  // namespace quorlane
