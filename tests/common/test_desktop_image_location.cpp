#include "common/desktop_image_location.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "tests/support/temp_folder.h"

using quorlane::desktopImageLocation;

// Best first: the runtime folder, then one cache folder, then the private last resort.
TEST(DesktopImageFolders, BestFirstWithTheAccountHomeForAMissingHomeAndTmpLast) {
    using Folders = std::vector<std::string>;
    const struct {
        const char *runtime, *cache, *home, *account;
        Folders folders;
    } cases[] = {
        {"/run/user/7",
         "/c",
         "/home/u",
         "/home/acct",
         {"/run/user/7/orvask", "/c/orvask", "/tmp/orvask-7"}},
        {nullptr, "/home/u/cache/", "/home/u", nullptr, {"/home/u/cache/orvask", "/tmp/orvask-7"}},
        {nullptr, nullptr, "/home/u", "/home/acct", {"/home/u/.cache/orvask", "/tmp/orvask-7"}},
        // Empty and relative values count as unset.
        {"", "", "/home/u/", nullptr, {"/home/u/.cache/orvask", "/tmp/orvask-7"}},
        {"run", "cache", "/home/u", nullptr, {"/home/u/.cache/orvask", "/tmp/orvask-7"}},
        {nullptr, nullptr, "", "/home/acct", {"/home/acct/.cache/orvask", "/tmp/orvask-7"}},
        {"/", nullptr, nullptr, nullptr, {"/orvask", "/tmp/orvask-7"}},
        // An account without a home of its own ("/", or none) has only the last resort.
        {nullptr, nullptr, nullptr, "/", {"/tmp/orvask-7"}},
        {nullptr, nullptr, nullptr, nullptr, {"/tmp/orvask-7"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.runtime ? c.runtime : "-") + " " + (c.cache ? c.cache : "-") +
                     " " + (c.home ? c.home : "-") + " " + (c.account ? c.account : "-"));
        EXPECT_EQ(quorlane::desktopImageFolders(c.runtime, c.cache, c.home, c.account, 7),
                  c.folders);
    }
}

// The picture's place is the best of those folders.
TEST(DesktopImageLocation, IsTheBestFolderAndThePictureInIt) {
    auto best = desktopImageLocation("/run/user/1000", "/c", "/home/u", 1000);
    EXPECT_EQ(best.folder, "/run/user/1000/orvask");
    EXPECT_EQ(best.file, "/run/user/1000/orvask/Torvane.bmp");
    EXPECT_EQ(desktopImageLocation(nullptr, nullptr, nullptr, 42).file,
              "/tmp/orvask-42/Torvane.bmp");
}

namespace {

namespace fs = std::filesystem;

struct Environment {
    quorlane::test::TempFolder folder;
    fs::path root = folder.path();
    Environment() {
        fs::create_directories(root / "run");
        fs::create_directories(root / "cache");
        fs::create_directories(root / "elsewhere");
        setenv("XDG_RUNTIME_DIR", (root / "run").c_str(), 1);
        setenv("XDG_CACHE_HOME", (root / "cache").c_str(), 1);
    }
};

}  // namespace

// The renderer reads the picture only from a folder that is really ours: the first such
// folder of the list, which is where the shell saved it.
TEST(FindDesktopImageFile, SkipsLinksAndFoldersOfOtherUsers) {
    Environment env;
    fs::create_directory(env.root / "cache" / "orvask");
    fs::create_directory_symlink(env.root / "elsewhere", env.root / "run" / "orvask");
    EXPECT_FALSE(quorlane::isOwnFolder((env.root / "run" / "orvask").string()));
    EXPECT_EQ(quorlane::findDesktopImageFile(),
              (env.root / "cache" / "orvask" / "Torvane.bmp").string());

    fs::remove(env.root / "run" / "orvask");
    fs::create_directory(env.root / "run" / "orvask");
    EXPECT_EQ(quorlane::findDesktopImageFile(),
              (env.root / "run" / "orvask" / "Torvane.bmp").string());

    if (geteuid() == 0) {  // only root can give a folder away
        ASSERT_EQ(chown((env.root / "run" / "orvask").c_str(), 65534, 65534), 0);
        EXPECT_FALSE(quorlane::isOwnFolder((env.root / "run" / "orvask").string()));
        EXPECT_EQ(quorlane::findDesktopImageFile(),
                  (env.root / "cache" / "orvask" / "Torvane.bmp").string());
    }
}
