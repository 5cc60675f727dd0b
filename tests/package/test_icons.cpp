// The icon compiled into the shell: every size there, square, with a transparent rim around an
// opaque emblem (a window manager shows it on any background).
#include <gtest/gtest.h>

#include <QImage>
#include <QString>

TEST(Icons, EverySizeIsCompiledInAndSquare) {
    for (int size : {32, 48, 64, 128, 256}) {
        const QImage icon(QString(":/icons/quorlane-%1.png").arg(size));
        ASSERT_FALSE(icon.isNull()) << size;
        EXPECT_EQ(icon.width(), size);
        EXPECT_EQ(icon.height(), size);
        EXPECT_TRUE(icon.hasAlphaChannel()) << size;
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << size;
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255) << size;
        // The middle shows the lit far wall, lighter than the dark frame at the edge.
        EXPECT_GT(qGray(icon.pixel(size / 2 - size / 8, size / 2 - size / 8)),
                  qGray(icon.pixel(size / 2, size / 16)) + 60)
            << size;
    }
}
