#include "common/desktop_image_location.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "tests/support/temp_folder.h"

using quorlane::desktopImageLocation;

TEST(DesktopImageLocation, PrefersRuntimeFolderThenCacheThenHome) {
    auto a = desktopImageLocation("/run/user/1000", "/c", "/home/u", 1000);
    EXPECT_EQ(a.folder, "/run/user/1000/orvask");
    EXPECT_EQ(a.file, "/run/user/1000/orvask/Torvane.bmp");

    auto b = desktopImageLocation(nullptr, "/home/u/cache/", "/home/u", 1000);
    EXPECT_EQ(b.file, "/home/u/cache/orvask/Torvane.bmp");

    auto c = desktopImageLocation("", "", "/home/u/", 1000);
    EXPECT_EQ(c.file, "/home/u/.cache/orvask/Torvane.bmp");
}

TEST(DesktopImageLocation, IgnoresRelativeValuesAndFallsBackPrivately) {
    auto a = desktopImageLocation("run", "cache", "/home/u", 5);
    EXPECT_EQ(a.folder, "/home/u/.cache/orvask");
    auto b = desktopImageLocation(nullptr, nullptr, nullptr, 42);
    EXPECT_EQ(b.file, "/tmp/orvask-42/Torvane.bmp");
}

TEST(DesktopImageLocation, RootAsBaseGivesSingleSlashes) {
    EXPECT_EQ(desktopImageLocation("/", nullptr, nullptr, 0).file, "/orvask/Torvane.bmp");
}

TEST(DesktopImageFolders, BestFirstWithTheAccountHomeForAMissingHomeAndTmpLast) {
    using Folders = std::vector<std::string>;
    EXPECT_EQ(quorlane::desktopImageFolders("/run/user/7", "/c", "/home/u", "/home/acct", 7),
              Folders({"/run/user/7/orvask", "/c/orvask", "/tmp/orvask-7"}));
    EXPECT_EQ(quorlane::desktopImageFolders(nullptr, nullptr, "/home/u", "/home/acct", 7),
              Folders({"/home/u/.cache/orvask", "/tmp/orvask-7"}));
    EXPECT_EQ(quorlane::desktopImageFolders(nullptr, nullptr, "", "/home/acct", 7),
              Folders({"/home/acct/.cache/orvask", "/tmp/orvask-7"}));
    // An account without a home of its own ("/", or none) has only the last resort.
    EXPECT_EQ(quorlane::desktopImageFolders(nullptr, nullptr, nullptr, "/", 7),
              Folders({"/tmp/orvask-7"}));
    EXPECT_EQ(quorlane::desktopImageFolders(nullptr, nullptr, nullptr, nullptr, 7),
              Folders({"/tmp/orvask-7"}));
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
