// The colour panel with a paletted image: the palette grid, the palette files, and the edits of
// the current image's palette.
#include "editor/ColorPanel.h"
#include "editor/EditorHost.h"
#include "editor/MyScroll.h"
#include "editor/UserDialogs.h"
#include "editor/formColors.h"
#include "editor/formDesk.h"
#include "engine/Errors.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QToolButton>

namespace {

const char* const kLoadPalFilter = "Microsoft palette file (*.pal);;Adobe Color Table (*.act);;"
                                   "All supported palette files (*.pal *.act)";
const char* const kSavePalFilter = "Microsoft palette file (*.pal);;Adobe Color Table (*.act)";

// The palette file dialog of a button, titled with its hint.
glimt::TFileRequest PaletteFileRequest(const QToolButton* button, const char* filter, int filterIndex)
{
    glimt::TFileRequest request;
    request.title = button->toolTip();
    request.filter = QString::fromLatin1(filter);
    request.filterIndex = filterIndex;
    return request;
}

// Runs a palette file operation; the message of its failure, or "" when it succeeded. The
// panel's buttons run outside the main window's command wrapper, so nothing may escape them.
template <typename F>
QString FailureText(F&& operation)
{
    try {
        operation();
    } catch (const glimt::Error& e) {
        return e.Text();
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    }
    return {};
}

} // namespace

TmyImagePal* TfrmColors::PalettedImage(TfrmDesk** desk) const
{
    glimt::IEditorHost* host = glimt::EditorHost();
    TfrmDesk* active = host ? host->ActiveDesk() : nullptr;
    TmyImagePal* image = active ? active->CurrentImage() : nullptr;
    if (!image || !image->Palette || image->Palette->Count() == 0)
        return nullptr;
    if (desk)
        *desk = active;
    return image;
}

void TfrmColors::ShowPalette(const TmyPalette* palette)
{
    const bool grid = palette && palette->Count() > 0;
    Image6->setVisible(grid);
    Image1->setHidden(grid);
    Image5->setHidden(grid);
    Panel9->setHidden(grid);
    btnLoadPal->setVisible(grid);
    btnSavePal->setVisible(grid);
    if (!grid) {
        HighlightPaletteIndex(-1);
        return;
    }
    Image6->SetPicture(glimt::PaletteGridPicture(*palette));
    FitColorsToPalette(*palette);
}

void TfrmColors::FitColorsToPalette(const TmyPalette& palette)
{
    if (palette.Count() == 0)
        return;
    const glimt::TPaletteFit fit = glimt::FitColorsToPalette(palette, m_foreColor, m_backColor, m_paletteIndex);
    // A fore colour that stays as it is keeps the numbers on show: recomputing hue, saturation
    // and brightness from the rounded red, green and blue would take away what the user is
    // typing (the hue of a grey, for one).
    const bool foreMoved = fit.Fore != m_foreColor;
    m_foreColor = fit.Fore;
    HighlightPaletteIndex(fit.ForeIndex);
    DrawForeColor();
    if (foreMoved)
        ShowForeColorValues();
    if (fit.BackMoved) {
        m_backColor = fit.Back;
        DrawBackColor();
    }
    if (foreMoved)
        UpdateHSBFromRGB();
}

void TfrmColors::KeepForeColorOnPalette()
{
    const TmyImagePal* image = PalettedImage();
    if (!image || m_foreColor.A == 0)
        return;
    const TmyPalette& palette = *image->Palette;
    if (palette.IndexOf(m_foreColor) < 0) {
        m_foreColor = glimt::Opaque(palette.NearestColor(m_foreColor));
        ForeColorsShown();
    }
    // The entry is selected too, so that the next edit of the colour rewrites it.
    const bool selected = m_paletteIndex >= 0 && m_paletteIndex < palette.Count()
        && palette.Colors[std::size_t(m_paletteIndex)] == m_foreColor;
    if (!selected)
        HighlightPaletteIndex(palette.IndexOf(m_foreColor));
}

void TfrmColors::HighlightPaletteIndex(int index)
{
    m_paletteIndex = index;
    if (index < 0) {
        Panel8->hide();
        return;
    }
    Panel8->move(Image6->x() + (index % glimt::kPaletteColumns) * glimt::kPaletteCell - 2,
                 Image6->y() + (index / glimt::kPaletteColumns) * glimt::kPaletteCell - 2);
    Panel8->setHidden(Image6->isHidden());
    Panel8->raise();
}

void TfrmColors::SetColorDepth(std::uint8_t depth)
{
    const bool alpha = depth == 32;
    ScrollBars[3]->setHidden(!alpha);
    Edits[3]->setHidden(!alpha);
    auto* tools = dynamic_cast<TfrmTools*>(glimt::ToolEngine());
    if (!tools)
        return;
    QToolButton* opacity = tools->ToolButtons[glimt::toolOpacity - 1];
    if (!alpha && opacity->isChecked())
        tools->PressToolButton(glimt::toolGradient);
    opacity->setEnabled(alpha);
}

void TfrmColors::Image6MouseDown(Qt::MouseButton button, int x, int y)
{
    const TmyImagePal* image = PalettedImage();
    if (!image)
        return;
    const int index = glimt::PaletteGridIndex(x, y, image->Palette->Count());
    if (index < 0)
        return;
    const TmyPixel entry = glimt::Opaque(image->Palette->Colors[std::size_t(index)]);
    if (button != Qt::LeftButton) {
        m_backColor = entry;
        DrawBackColor();
        return;
    }
    m_foreColor = entry;
    HighlightPaletteIndex(index);
    ForeColorsShown();
}

bool TfrmColors::CommitPaletteEdit(TfrmDesk& desk, TmyImagePal& image, TmyImagePal&& edited)
{
    if (!glimt::PaletteEditChanged(image, edited))
        return false;
    desk.BeginImageChange();
    image = std::move(edited);
    return true;
}

void TfrmColors::ShowEditedImage(TfrmDesk& desk, const TmyImagePal& image)
{
    desk.ShowImage(image);
    ShowPalette(image.Palette ? &*image.Palette : nullptr);
    if (glimt::IEditorHost* host = glimt::EditorHost())
        host->DocumentShown(&desk);
}

void TfrmColors::ReplacePaletteColor(const TmyPixel& OldColor, const TmyPixel& NewColor)
{
    TfrmDesk* desk = nullptr;
    TmyImagePal* image = PalettedImage(&desk);
    if (!image)
        return;
    TmyImagePal edited = *image;
    const bool pixelsFollowed = glimt::ReplacePaletteEntry(edited, m_paletteIndex, OldColor, NewColor);
    if (CommitPaletteEdit(*desk, *image, std::move(edited))) {
        if (pixelsFollowed && m_backColor == OldColor) {
            m_backColor = glimt::Opaque(NewColor);
            DrawBackColor();
        }
        ShowEditedImage(*desk, *image);
    }
    // No entry took the new colour (none was selected, or the old colour was transparent):
    // the fore colour goes to the nearest entry, so that what it paints is what is saved.
    KeepForeColorOnPalette();
}

void TfrmColors::btnLoadPalClick()
{
    TfrmDesk* desk = nullptr;
    TmyImagePal* image = PalettedImage(&desk);
    if (!image)
        return;
    glimt::TFileRequest request = PaletteFileRequest(btnLoadPal, kLoadPalFilter, m_loadFilterIndex);
    QStringList files;
    if (!glimt::UserDialogs().OpenFileNames(request, false, files) || files.isEmpty())
        return;
    m_loadFilterIndex = request.filterIndex;
    TmyImagePal edited = *image;
    // A file error still leaves the image mapped to what its palette holds; it is reported
    // once the document shows that.
    const QString error = FailureText([&] { glimt::LoadPaletteInto(edited, files.front()); });
    if (CommitPaletteEdit(*desk, *image, std::move(edited)))
        ShowEditedImage(*desk, *image);
    if (!error.isEmpty())
        glimt::UserDialogs().Error(error);
}

void TfrmColors::btnSavePalClick()
{
    const TmyImagePal* image = PalettedImage();
    if (!image)
        return;
    glimt::TFileRequest request = PaletteFileRequest(btnSavePal, kSavePalFilter, m_saveFilterIndex);
    QString file;
    if (!glimt::UserDialogs().SaveFileName(request, file))
        return;
    m_saveFilterIndex = request.filterIndex;
    // A name typed without an extension takes that of the chosen file type.
    if (QFileInfo(file).suffix().isEmpty())
        file += request.filterIndex == 1 ? QStringLiteral(".act") : QStringLiteral(".pal");
    const QString error = FailureText([&] { image->Palette->SaveToFile(file); });
    if (!error.isEmpty())
        glimt::UserDialogs().Error(error);
}
