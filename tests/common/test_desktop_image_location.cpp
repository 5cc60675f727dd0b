#include "common/desktop_image_location.h"

#include <gtest/gtest.h>

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
