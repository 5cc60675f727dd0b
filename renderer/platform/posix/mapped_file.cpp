#include "renderer/core/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorlane {

MappedFile::MappedFile(const char* path) {
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st {};
    // An empty file or a folder cannot be mapped.
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
        const size_t size = static_cast<size_t>(st.st_size);
        void* mapped = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (mapped != MAP_FAILED) {
            bytes_ = static_cast<const uint8_t*>(mapped);
            size_ = size;
        }
    }
    close(fd);  // the mapping outlives the descriptor
}

MappedFile::~MappedFile() {
    if (bytes_ != nullptr) munmap(const_cast<uint8_t*>(bytes_), size_);
}

}  // namespace quorlane
