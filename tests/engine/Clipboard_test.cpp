#include "engine/Clipboard.h"
#include "engine/Myclipmngr.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

namespace {

// The application the clipboard belongs to, created once for the whole test program.
void EnsureApplication()
{
    if (QGuiApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "glimt_engine_tests";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
}

} // namespace

TEST(QtClipboard, CopyAndPasteThroughTheApplicationClipboard)
{
    EnsureApplication();
    glimt::QtClipboard clipboard;
    tmyClipMngr clip(clipboard);
    TmyImagePal image(2, 3, 32);
    image.Fill(TmyPixel::CreateRGBA(200, 100, 50, 255));
    image.Pixel(1, 0) = TmyPixel::CreateRGBA(0, 0, 255, 100);
    clip.CopyImage(image);
    ASSERT_TRUE(clipboard.HasBitmap());
    const QImage onClipboard = clipboard.Bitmap();
    ASSERT_EQ(onClipboard.size(), QSize(3, 2));
    EXPECT_EQ(onClipboard.pixel(1, 0), qRgb(154, 154, 254)) << "a plain bitmap, blended over white";
    EXPECT_EQ(onClipboard.pixel(0, 1), qRgb(199, 99, 49));

    TmyImagePal target(1, 1, 32);
    TmyImagePal original;
    ASSERT_TRUE(clip.PasteImage(target, original, 16, 16));
    EXPECT_TRUE(target.SamePixels(image)) << "our copy comes back with its alpha";
}
