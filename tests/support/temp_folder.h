#pragma once
// A private folder for one test, removed with everything in it afterwards.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quorlane::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(std::string_view name) const { return (path_ / name).string(); }

    // Raw bytes, so that tests control every byte of the CP932 text.
    void write(std::string_view name, std::string_view bytes) const;
    std::string read(std::string_view name) const;
    std::vector<std::string> names() const;

private:
    std::filesystem::path path_;
};

}  // namespace quorlane::test
