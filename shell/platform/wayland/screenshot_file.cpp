#include "shell/platform/wayland/screenshot_file.h"

#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "common/read_only_open.h"

namespace quorlane {

namespace {

// Pictures beyond this many pixels a side are no screen.
constexpr png_uint_32 kMaxSide = 32768;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

}  // namespace

bool decodePng(const unsigned char* data, std::size_t size, DecodedPicture& picture,
               std::string& why) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) {
        why = std::string("not a PNG picture: ") + image.message;
        png_image_free(&image);
        return false;
    }
    if (image.width == 0 || image.height == 0 || image.width > kMaxSide ||
        image.height > kMaxSide) {
        why = "a PNG picture of an unusable size";
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_BGRA;
    std::vector<uint32_t> pixels(std::size_t{image.width} * image.height);
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        why = std::string("a broken PNG picture: ") + image.message;
        png_image_free(&image);
        return false;
    }
    for (uint32_t& p : pixels) p &= 0x00ffffffu;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.pixels = std::move(pixels);
    picture.dotsPerMeterX = picture.dotsPerMeterY = 0;
    return true;
}

bool takeScreenshotFile(const std::string& path, DecodedPicture& picture, std::string& why) {
    const FileDescriptor fd(openRegularFileToRead(path, FinalLink::Refuse));
    if (fd.get() < 0) {
        why =
            errno == EINVAL ? path + " is not a regular file" : path + ": " + std::strerror(errno);
        return false;
    }
    struct stat opened {};
    if (fstat(fd.get(), &opened) != 0) {
        why = path + ": " + std::strerror(errno);
        return false;
    }
    if (opened.st_uid != geteuid()) {
        why = path + " belongs to another user";
        return false;
    }
    if (static_cast<unsigned long long>(opened.st_size) > kMaxScreenshotBytes) {
        why = path + " is too large";
        return false;
    }
    std::vector<unsigned char> bytes;
    bytes.reserve(static_cast<std::size_t>(opened.st_size));
    unsigned char chunk[65536];
    for (;;) {
        const ssize_t n = read(fd.get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            why = path + ": " + std::strerror(errno);
            return false;
        }
        if (n == 0) break;
        if (bytes.size() + static_cast<std::size_t>(n) > kMaxScreenshotBytes) {
            why = path + " is too large";
            return false;
        }
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    // Ours, and still the file just read: the next screenshot must not find it, nor may it
    // linger with the desktop's contents for others to see.
    struct stat now {};
    if (lstat(path.c_str(), &now) == 0 && now.st_dev == opened.st_dev &&
        now.st_ino == opened.st_ino) {
        unlink(path.c_str());
    }
    return decodePng(bytes.data(), bytes.size(), picture, why);
}

}  // namespace quorlane
