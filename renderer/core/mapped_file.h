#pragma once
// A file's bytes, mapped read-only for as long as the object lives. The picture loader reads
// the desktop picture through it; each platform supplies its own mapping (renderer/platform).
#include <cstddef>
#include <cstdint>

namespace quorlane {

class MappedFile {
public:
    // Empty (valid() false) when the path cannot be opened, is not a regular file, holds no
    // bytes, or cannot be mapped.
    explicit MappedFile(const char* path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    bool valid() const { return bytes_ != nullptr; }
    const uint8_t* bytes() const { return bytes_; }
    size_t size() const { return size_; }

private:
    const uint8_t* bytes_ = nullptr;
    size_t size_ = 0;
};

}  // namespace quorlane
