#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "renderer/core/bmp_decoder.h"
#include "tests/pictures/bmp_writer.h"
#include "tests/support/temp_folder.h"

namespace quorlane {
namespace {

namespace fs = std::filesystem;
using testing::BmpLayout;
using testing::buildBmp;
using testing::Bytes;

class BmpLoader : public ::testing::Test {
protected:
    std::string write(const std::string& name, const Bytes& bytes) {
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
        return path;
    }

    // Loads a file and returns what went to standard error meanwhile.
    std::string load(const char* path, bool expectImage) {
        ::testing::internal::CaptureStderr();
        const std::optional<RgbImage> image = loadBmpImage(path);
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(image.has_value(), expectImage) << (path ? path : "(null)");
        return err;
    }

    test::TempFolder temp_;
    fs::path dir_ = temp_.path();
};

TEST_F(BmpLoader, ValidFileLoadsQuietly) {
    const std::string path =
        write("ok.bmp", buildBmp(BmpLayout{.width = 1, .pixels = {1, 2, 3, 0}}));
    ::testing::internal::CaptureStderr();
    const std::optional<RgbImage> image = loadBmpImage(path.c_str());
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->data, (std::vector<uint8_t>{3, 2, 1}));
}

// A file that is not there (or cannot be read) is the usual case of no picture and says
// nothing; one that opens but gives no picture says why, once.
TEST_F(BmpLoader, EachFailureSaysWhatWentWrongOrNothing) {
    const std::string empty = write("empty.bmp", {});
    std::vector<std::pair<std::string, std::string>> cases = {
        {(dir_ / "absent.bmp").string(), ""},
        {empty, "Error: Failed to open DIB file " + empty + ".\n"},
#ifdef _WIN32
        // On Windows a folder does not open for reading: it counts as no file.
        {dir_.string(), ""},
#else
        // A folder passes the read test on Linux but is no picture either.
        {dir_.string(), "Error: Failed to open DIB file " + dir_.string() + ".\n"},
#endif
        {write("v5.bmp", buildBmp(BmpLayout{.headerSize = 124, .pixels = {1, 2, 3, 0}})),
         "Error: Unknown DIB file format.\n"},
        {write("cut.bmp", buildBmp(BmpLayout{.width = 4, .height = 4, .pixels = {1, 2, 3}})),
         "Error: Image file conversion error.\n"},
        {write("noise.bmp", Bytes{'B', 'M', 0xFF, 0xFF, 0xFF}),
         "Error: Unknown DIB file format.\n"},
    };
#ifndef _WIN32
    if (geteuid() != 0) {  // root reads whatever the mode says
        const std::string locked = write("locked.bmp", buildBmp(BmpLayout{.pixels = {1, 2, 3, 0}}));
        chmod(locked.c_str(), 0);
        cases.emplace_back(locked, "");
    }
#endif
    EXPECT_EQ(load(nullptr, false), "");
    for (const auto& [path, said] : cases) EXPECT_EQ(load(path.c_str(), false), said) << path;
}

#if defined(__SANITIZE_ADDRESS__)
#define QUORLANE_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUORLANE_ADDRESS_SANITIZER 1
#endif
#endif

#ifndef _WIN32  // the address-space cap is Linux's
TEST_F(BmpLoader, AllocationFailureReportsOutOfMemory) {
#ifdef QUORLANE_ADDRESS_SANITIZER
    GTEST_SKIP() << "the sanitizer reserves more address space than any limit leaves";
#else
    // An 8 MB one-bit file of the most pixels we accept (192 MiB decoded); with the address
    // space capped that buffer cannot be had.
    const std::string path =
        write("huge.bmp", buildBmp(BmpLayout{.width = 8192,
                                             .height = 8192,
                                             .bitsPerPixel = 1,
                                             .palette = std::vector<testing::Rgb>(2),
                                             .pixels = testing::Bytes(1024 * 8192)}));
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto loadWithCappedAddressSpace = [&path] {
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        rlimit cap{};
        cap.rlim_cur = cap.rlim_max = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (64u << 20);
        setrlimit(RLIMIT_AS, &cap);
        std::_Exit(loadBmpImage(path.c_str()) ? 1 : 0);
    };
    EXPECT_EXIT(loadWithCappedAddressSpace(), ::testing::ExitedWithCode(0),
                "^Error: Out of memory\\.\n$");
#endif
}
#endif

}  // namespace
}  // namespace quorlane
