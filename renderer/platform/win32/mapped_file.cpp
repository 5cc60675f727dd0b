#include "renderer/core/mapped_file.h"

#include <windows.h>

#include "common/win32/wide_text.h"

namespace quorlane {

MappedFile::MappedFile(const char* path) {
    // Others may read the file meanwhile, and the shell may replace it for the next show.
    const HANDLE file =
        CreateFileW(wideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    LARGE_INTEGER size{};
    // A folder does not open without backup semantics; a device is not a disk file.
    if (GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size) && size.QuadPart > 0 &&
        static_cast<unsigned long long>(size.QuadPart) <= SIZE_MAX) {
        const HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
        if (mapping != nullptr) {
            if (const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0)) {
                bytes_ = static_cast<const uint8_t*>(view);
                size_ = static_cast<size_t>(size.QuadPart);
            }
            CloseHandle(mapping);  // the view keeps the mapping alive
        }
    }
    CloseHandle(file);
}

MappedFile::~MappedFile() {
    if (bytes_ != nullptr) UnmapViewOfFile(bytes_);
}

}  // namespace quorlane
