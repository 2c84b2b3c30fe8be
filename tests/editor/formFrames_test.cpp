#include "editor/formFrames.h"

#include "editor/thumbnail.h"
#include "engine/GifFrames.h"
#include "tests/editor/DeskFakes.h"

#include <QCheckBox>
#include <gtest/gtest.h>
#include <vector>

using glimt::GifFrame;
using glimt::GifPicture;

namespace {

constexpr TmyPixel Red = TmyPixel::CreateRGBA(255, 0, 0, 255);
constexpr TmyPixel Green = TmyPixel::CreateRGBA(0, 255, 0, 255);
constexpr TmyPixel Blue = TmyPixel::CreateRGBA(0, 0, 255, 255);

GifFrame Frame(int left, int top, int width, int height, std::uint8_t index, int disposal)
{
    GifFrame f;
    f.Left = left, f.Top = top, f.Width = width, f.Height = height;
    f.Indices.assign(std::size_t(width) * std::size_t(height), index);
    f.Colors = {Red, Green, Blue};
    f.Disposal = disposal;
    return f;
}

// Red all over, cleared after it; a green square, put back to what lay under it after it; a
// blue pixel. Stacked without their disposals the three would show red, green and blue at once.
GifPicture Animation()
{
    GifPicture gif;
    gif.ScreenWidth = 6, gif.ScreenHeight = 4;
    gif.Frames.push_back(Frame(0, 0, 6, 4, 0, 2));
    gif.Frames.push_back(Frame(1, 1, 2, 2, 1, 3));
    gif.Frames.push_back(Frame(4, 2, 1, 1, 2, 0));
    return gif;
}

// A main window that keeps the images the picker makes documents of.
class ImportHost : public glimt::test::FakeHost {
public:
    std::vector<TmyImagePal> Documents;
    bool CreateDocumentFromImage(const TmyImagePal& image) override
    {
        Documents.push_back(image);
        return true;
    }
};

// What a tile shows for `picture`: its transparent pixels white.
QRgb OverWhite(const TmyPixel& p)
{
    return p.A == 0 ? qRgb(255, 255, 255) : qRgb(p.R, p.G, p.B);
}

} // namespace

TEST(TfrmFrames, TilesShowWhatOkImports)
{
    for (const bool overimpose : {true, false}) {
        SCOPED_TRACE(overimpose);
        ImportHost host;
        glimt::SetEditorHost(&host);
        TfrmFrames dialog;
        dialog.FileName = QStringLiteral("/nowhere/animation.gif");
        dialog.SetGif(dialog.FileName, Animation());
        dialog.TargetWidth = 6;
        dialog.TargetHeight = 4;
        dialog.TargetDepth = 32;
        dialog.cbOverimpose->setChecked(overimpose);
        dialog.FillFrames();
        ASSERT_EQ(dialog.Thumbnails->Count(), 3);
        std::vector<QImage> tiles;
        for (const TThumbnailItem* tile : dialog.Thumbnails->Items)
            tiles.push_back(tile->Bitmap);

        dialog.Thumbnails->ClearSelection();
        for (int k : {2, 0, 1})
            dialog.Thumbnails->SelectItem(k);
        dialog.btnOKClick();
        ASSERT_EQ(host.Documents.size(), 3u);
        const int order[] = {2, 0, 1};
        for (std::size_t d = 0; d < 3; ++d) {
            const int k = order[d];
            SCOPED_TRACE(k);
            const TmyImagePal& imported = host.Documents[d];
            const QImage& tile = tiles[std::size_t(k)];
            ASSERT_EQ(tile.size(), QSize(6, 4));
            int differ = 0;
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 6; ++x)
                    differ += QRgb(tile.pixel(x, y) | 0xFF000000u) == OverWhite(imported.Pixel(x, y)) ? 0 : 1;
            EXPECT_EQ(differ, 0);
        }
        if (overimpose) {
            // Frame 2 after the red frame was cleared and the green one put back: only blue.
            const TmyImagePal& last = host.Documents[0];
            EXPECT_EQ(last.Pixel(4, 2), Blue);
            EXPECT_EQ(last.Pixel(1, 1).A, 0);
            EXPECT_EQ(last.Pixel(0, 0).A, 0);
            EXPECT_EQ(host.Documents[2].Pixel(1, 1), Green);
            EXPECT_EQ(host.Documents[2].Pixel(0, 0).A, 0) << "the red frame cleared itself";
        }
        glimt::SetEditorHost(nullptr);
    }
}

TEST(TfrmFrames, AHugeLogicalScreenMakesTilesOfTheTilesSize)
{
    GifPicture gif;
    gif.ScreenWidth = 16384, gif.ScreenHeight = 16384;
    for (int k = 0; k < 3; ++k)
        gif.Frames.push_back(Frame(k, 0, 1, 1, std::uint8_t(k), 1));
    TfrmFrames dialog;
    dialog.FileName = QStringLiteral("/nowhere/huge.gif");
    dialog.SetGif(dialog.FileName, std::move(gif));
    dialog.FillFrames();
    ASSERT_EQ(dialog.Thumbnails->Count(), 3);
    for (const TThumbnailItem* tile : dialog.Thumbnails->Items) {
        EXPECT_EQ(tile->Bitmap.size(), QSize(140, 140));
        EXPECT_EQ(tile->PictureWidth, 16384) << "the tile knows the picture's own size";
    }
    EXPECT_EQ(dialog.Thumbnails->SelectedIndices, std::vector<int>{0});
}
