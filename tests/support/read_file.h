#pragma once
// A whole file's bytes; empty when it cannot be read.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace quorlane::test {

inline std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace quorlane::test
