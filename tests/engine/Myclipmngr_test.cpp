#include "engine/Myclipmngr.h"

#include "engine/Prompts.h"
#include "engine/Settings.h"

#include <gtest/gtest.h>

namespace {

TmyPixel Px(int r, int g, int b, int a)
{
    return TmyPixel::CreateRGBA(std::uint8_t(r), std::uint8_t(g), std::uint8_t(b), std::uint8_t(a));
}

class FakeClipboard : public glimt::IClipboard {
public:
    QImage picture;
    bool HasBitmap() const override { return !picture.isNull(); }
    QImage Bitmap() const override { return picture; }
    // Keeps what a system clipboard keeps of a plain bitmap: colours, no alpha.
    void SetBitmap(const QImage& bitmap) override { picture = bitmap.convertToFormat(QImage::Format_RGB32); }
};

struct FakePrompts : glimt::SilentPrompts {
    int answer = 0;
    int asked = 0;
    int AskImageTooBig() override
    {
        ++asked;
        return answer;
    }
};

struct ActionOption {
    std::uint8_t saved = Options().ClipboardAction;
    explicit ActionOption(int action) { Options().ClipboardAction = std::uint8_t(action); }
    ~ActionOption() { Options().ClipboardAction = saved; }
};

// 3 x 2, 32 bits: half-transparent, transparent and opaque pixels.
TmyImagePal HalfTransparent()
{
    TmyImagePal image(2, 3, 32);
    image.Pixel(0, 0) = Px(200, 100, 0, 128);
    image.Pixel(1, 0) = Px(50, 60, 70, 0);
    image.Pixel(2, 0) = Px(255, 255, 255, 255);
    image.Pixel(0, 1) = Px(0, 0, 255, 64);
    image.Pixel(1, 1) = Px(10, 20, 30, 255);
    image.Pixel(2, 1) = Px(0, 0, 0, 200);
    return image;
}

} // namespace

TEST(TmyClipMngr, CopyPutsAPlainBitmapOverWhite)
{
    FakeClipboard clipboard;
    tmyClipMngr clip(clipboard);
    EXPECT_EQ(clip.OwnCopy.Width(), 1);
    EXPECT_EQ(clip.OwnCopy.Pixel(0, 0), TmyPixel{});

    const TmyImagePal image = HalfTransparent();
    clip.CopyImage(image);
    EXPECT_TRUE(clip.OwnCopy.SamePixels(image));
    ASSERT_EQ(clipboard.picture.size(), QSize(3, 2));
    EXPECT_EQ(clipboard.picture.pixel(1, 0), qRgb(255, 255, 255)) << "transparent pixels become white";
    // (127 x 255 + 128 x C) >> 8 per channel.
    EXPECT_EQ(clipboard.picture.pixel(0, 0), qRgb(226, 176, 126));
    EXPECT_EQ(clipboard.picture.pixel(2, 0), qRgb(254, 254, 254));
}

TEST(TmyClipMngr, OurCopyComesBackWithItsAlpha)
{
    FakeClipboard clipboard;
    tmyClipMngr clip(clipboard);
    const TmyImagePal image = HalfTransparent();
    clip.CopyImage(image);

    TmyImagePal target(1, 1, 8); // what the selection once held
    TmyImagePal original;
    ASSERT_TRUE(clip.PasteImage(target, original, 16, 16));
    EXPECT_TRUE(target.SamePixels(image));
    EXPECT_EQ(target.BitDepth, 32);
    EXPECT_FALSE(target.Palette);
    EXPECT_TRUE(original.SamePixels(target));
}

// Cropping keeps the target's depth: at 8 bits the half-transparent pixels would lose their
// alpha on the way into the selection.
TEST(TmyClipMngr, OurCopyCroppedStillKeepsItsAlpha)
{
    ActionOption crop(1);
    FakeClipboard clipboard;
    tmyClipMngr clip(clipboard);
    clip.CopyImage(HalfTransparent());
    TmyImagePal target(1, 1, 8);
    TmyImagePal original;
    ASSERT_TRUE(clip.PasteImage(target, original, 1, 2));
    ASSERT_EQ(target.Width(), 2);
    ASSERT_EQ(target.Height(), 1);
    EXPECT_EQ(target.BitDepth, 32);
    EXPECT_EQ(target.Pixel(0, 0), Px(200, 100, 0, 128));
    EXPECT_EQ(target.Pixel(1, 0), Px(50, 60, 70, 0));
}

TEST(TmyClipMngr, AForeignPictureComesInOpaque)
{
    FakeClipboard clipboard;
    tmyClipMngr clip(clipboard);
    clip.CopyImage(HalfTransparent());
    // Another program put a picture of the same size there.
    QImage foreign(3, 2, QImage::Format_RGB32);
    foreign.fill(qRgb(1, 2, 3));
    foreign.setPixel(2, 1, qRgb(90, 80, 70));
    clipboard.picture = foreign;

    TmyImagePal original;
    TmyImagePal placeholder(5, 5, 8);
    placeholder.Fill(Px(7, 7, 7, 7));
    ASSERT_TRUE(clip.PasteImage(placeholder, original, 16, 16));
    ASSERT_EQ(placeholder.Width(), 3) << "the image takes the picture's size";
    ASSERT_EQ(placeholder.Height(), 2);
    EXPECT_EQ(placeholder.Pixel(0, 0), Px(1, 2, 3, 255));
    EXPECT_EQ(placeholder.Pixel(2, 1), Px(90, 80, 70, 255));
    EXPECT_FALSE(placeholder.Palette);
    EXPECT_TRUE(original.SamePixels(placeholder));
}

// Pictures of other programs carry real alpha, which is kept; when every alpha byte is 0 the
// fourth byte is padding and the picture comes in opaque.
TEST(TmyClipMngr, AForeignPictureKeepsItsAlphaUnlessAllOfItIsZero)
{
    QImage half(3, 2, QImage::Format_ARGB32);
    half.fill(qRgba(200, 100, 50, 128));
    half.setPixel(1, 1, qRgba(9, 8, 7, 0));
    QImage zero(3, 2, QImage::Format_ARGB32);
    zero.fill(qRgba(10, 20, 30, 0));
    zero.setPixel(2, 0, qRgba(40, 50, 60, 0));
    struct Check {
        int x, y;
        TmyPixel want;
    };
    struct Row {
        const char* name;
        QImage picture;
        std::vector<Check> checks;
    } rows[] = {
        {"alpha 128 is kept", half, {{0, 0, Px(200, 100, 50, 128)}, {2, 1, Px(200, 100, 50, 128)}, {1, 1, Px(9, 8, 7, 0)}}},
        {"all alpha 0 comes in opaque", zero, {{0, 0, Px(10, 20, 30, 255)}, {2, 0, Px(40, 50, 60, 255)}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        FakeClipboard clipboard;
        tmyClipMngr clip(clipboard);
        clipboard.picture = r.picture;
        TmyImagePal target(1, 1, 8);
        TmyImagePal original;
        ASSERT_TRUE(clip.PasteImage(target, original, 16, 16));
        ASSERT_EQ(target.Width(), 3);
        EXPECT_EQ(target.BitDepth, 32);
        for (const Check& c : r.checks)
            EXPECT_EQ(target.Pixel(c.x, c.y), c.want) << c.x << "," << c.y;
        EXPECT_TRUE(original.SamePixels(target));
    }
}

TEST(TmyClipMngr, NothingUsableOnTheClipboard)
{
    FakeClipboard clipboard;
    tmyClipMngr clip(clipboard);
    TmyImagePal target(2, 3, 8);
    TmyImagePal original(1, 1, 32);
    EXPECT_FALSE(clip.PasteImage(target, original, 2, 3));
    clipboard.picture = QImage(16385, 16385, QImage::Format_Mono); // more pixels than any image
    ASSERT_FALSE(clipboard.picture.isNull());
    EXPECT_FALSE(clip.PasteImage(target, original, 2, 3));
    EXPECT_EQ(target.BitDepth, 8);
    EXPECT_TRUE(target.Palette);
    EXPECT_EQ(original.Width(), 1);
}

TEST(TmyClipMngr, LargerPictureIsCroppedResizedOrAsked)
{
    QImage big(6, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            big.setPixel(x, y, qRgb(10 * x, 10 * y, 0));
    FakeClipboard clipboard;
    tmyClipMngr clip(clipboard);
    clipboard.picture = big;
    TmyImagePal original;

    {
        ActionOption crop(1);
        TmyImagePal target(1, 1, 32);
        ASSERT_TRUE(clip.PasteImage(target, original, 2, 3));
        ASSERT_EQ(target.Width(), 3);
        ASSERT_EQ(target.Height(), 2);
        EXPECT_EQ(target.Pixel(2, 1), Px(20, 10, 0, 255)) << "the top-left part";
    }
    {
        ActionOption resize(0);
        TmyImagePal target(1, 1, 32);
        ASSERT_TRUE(clip.PasteImage(target, original, 2, 3));
        EXPECT_EQ(target.Width(), 3);
        EXPECT_EQ(target.Height(), 2);
    }
    {
        ActionOption ask(2);
        FakePrompts prompts;
        prompts.answer = 1;
        glimt::ScopedPrompts installed(&prompts);
        TmyImagePal target(1, 1, 32);
        ASSERT_TRUE(clip.PasteImage(target, original, 2, 3));
        EXPECT_EQ(prompts.asked, 1);
        EXPECT_EQ(target.Pixel(2, 1), Px(20, 10, 0, 255)) << "the answer crop";
    }
}

TEST(TmyClipMngr, SameAsOwnCopyComparesColoursOnly)
{
    QImage a(3, 2, QImage::Format_RGB888);
    a.fill(QColor(10, 20, 30));
    QImage b(3, 2, QImage::Format_ARGB32);
    b.fill(QColor(10, 20, 30));
    EXPECT_TRUE(tmyClipMngr::SameAsOwnCopy(a, b));
    b.setPixel(2, 1, qRgb(10, 20, 31));
    EXPECT_FALSE(tmyClipMngr::SameAsOwnCopy(a, b));
    EXPECT_FALSE(tmyClipMngr::SameAsOwnCopy(a, QImage(2, 3, QImage::Format_RGB888)));
}
