#pragma once
#include "editor/formTools.h"
#include "engine/MyPalette.h"

#include <QFrame>
#include <QImage>
#include <QWidget>

class QLineEdit;
class QToolButton;
class TmyScroll;
class TfrmDesk;
class TmyImagePal;

namespace glimt {

// A picture control of the colour panel: shows its picture at 1:1 from the top-left corner and
// reports presses, moves and clicks in picture pixels.
class TColorImage : public QWidget {
    Q_OBJECT
public:
    explicit TColorImage(QWidget* parent = nullptr);
    QImage Picture;
    // Replaces the picture and sizes the control to it.
    void SetPicture(const QImage& picture);
    // The picture's colour at (x, y); black outside it.
    TColor PixelAt(int x, int y) const;

signals:
    void MouseDown(Qt::MouseButton button, int x, int y);
    void MouseMove(int x, int y);
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A bevelled frame of one colour (the highlight frames over the favourites and the palette).
class TColorFrame : public QFrame {
    Q_OBJECT
public:
    explicit TColorFrame(QWidget* parent = nullptr);
    void SetColor(TColor color);
    TColor Color() const { return m_color; }

signals:
    void MouseDown(Qt::MouseButton button);
    void MouseMove();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    TColor m_color = 0xFFFFFF;
};

} // namespace glimt

// The colour panel: the left-button (fore) and right-button (back) painting colours, with
// every way of changing them: red, green, blue and opacity sliders with number edits, hue,
// saturation and brightness sliders, the spectrum, 30 favourite colours, the Transparent strip,
// Reset and swap, and the colour dialog. While the current image is paletted the spectrum and
// favourites give way to a grid of the palette's entries, with palette files, and the fore
// colour stays on an entry; editing it rewrites the selected entry of the image.
//
// One instance for the run (frmColors()). Pixel positions of the pictures are picture pixels.
class TfrmColors : public QWidget, public glimt::IPaintColors {
    Q_OBJECT
public:
    // `favoritesFile` is the path of "colors.dat", read now (the defaults when it cannot be).
    explicit TfrmColors(const QString& favoritesFile, QWidget* parent = nullptr);
    ~TfrmColors() override;

    // --- the colours -----------------------------------------------------------------------
    TmyPixel ForeColor() const override { return m_foreColor; }
    TmyPixel BackColor() const override { return m_backColor; }
    // Plain assignments; callers redraw (DrawForeColor, ShowForeColorValues, ...).
    void SetForeColor(const TmyPixel& color) { m_foreColor = color; }
    void SetBackColor(const TmyPixel& color) { m_backColor = color; }
    // The fore colour before an edit began (slider or key press, colour dialog, Reset).
    TmyPixel PrevForeColor;
    // The Color Picker: the fore colour becomes the picked one, and the palette grid selects the
    // first entry equal to it (none when no entry is); the back colour likewise.
    void PickForeColor(const TmyPixel& color) override;
    void PickBackColor(const TmyPixel& color) override;

    // --- what other windows call -----------------------------------------------------------
    // Null for images of 24 and 32 bits: spectrum and favourites; otherwise the grid of the
    // palette's entries, and both colours fitted to it.
    void ShowPalette(const TmyPalette* palette);
    // Opacity slider and the Opacity tool only for 32 bits (the Gradient tool takes over from
    // an active Opacity tool).
    void SetColorDepth(std::uint8_t depth);
    void FitColorsToPalette(const TmyPalette& palette);
    // Puts the palette highlight frame on entry `index`; -1 hides it (no entry selected).
    void HighlightPaletteIndex(int index);
    int SelectedPaletteIndex() const { return m_paletteIndex; }
    void ShowForeColorValues();
    void UpdateHSBFromRGB();
    void UpdateRGBFromHSB();
    void DrawForeColor();
    void DrawBackColor();
    // After the checkerboard settings changed.
    void RedrawSwatches();
    void btnRGBClick();
    void btnHSBClick();
    int GetFavoriteIndex() const;
    void SetFavoriteIndex(int i);
    void ResetColors();
    void ShowColorStatus(const TmyPixel& color);
    // The fore colour of a paletted image changed from OldColor to NewColor: the selected
    // entry takes it (see glimt::ReplacePaletteEntry); the document records the change for
    // undo and is marked unsaved, only when the image really changed.
    void ReplacePaletteColor(const TmyPixel& OldColor, const TmyPixel& NewColor);
    // With a paletted current image, an opaque fore colour that no entry holds becomes the
    // nearest entry, and the entry the fore colour is on is selected.
    void KeepForeColorOnPalette();
    // The picture controls that choose colours (spectrum, palette grid, Transparent strip)
    // show the Color Picker's cursor; again once the tool cursors are loaded.
    void ApplyPickerCursor();
    // The favourites picture, as "colors.dat" stores it.
    const QImage& FavoritesPicture() const;

    // --- handlers (also driven by tests) ---------------------------------------------------
    void Image3Click();
    void Image4Click();
    void btnResetColorClick();
    void btnTwistColorClick();
    void btnLoadPalClick();
    void btnSavePalClick();

    // --- controls (object names are the component names) -----------------------------------
    glimt::TColorImage* Image1 = nullptr; // spectrum
    glimt::TColorImage* Image2 = nullptr; // Transparent strip
    glimt::TColorImage* Image3 = nullptr; // fore swatch
    glimt::TColorImage* Image4 = nullptr; // back swatch
    glimt::TColorImage* Image5 = nullptr; // favourites
    glimt::TColorImage* Image6 = nullptr; // palette grid
    glimt::TColorFrame* Panel8 = nullptr; // palette highlight
    glimt::TColorFrame* Panel9 = nullptr; // favourite highlight
    QWidget* Panel4 = nullptr;            // the HSB group
    QToolButton* btnResetColor = nullptr;
    QToolButton* btnTwistColor = nullptr;
    QToolButton* btnRGB = nullptr;
    QToolButton* btnHSB = nullptr;
    QToolButton* btnLoadPal = nullptr;
    QToolButton* btnSavePal = nullptr;
    // Index 0..6 are Scrollbar1..Scrollbar7 and Edit1..Edit7.
    std::array<TmyScroll*, 7> ScrollBars{};
    std::array<QLineEdit*, 7> Edits{};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void CreateControls();
    void ScrollBarChange(int i);
    void EditChange(int i);
    void ForeColorFromSliders();
    void ForeColorsShown();
    // A colour chosen for the back colour by a button other than the left one.
    void SetBackFromChoice(TColor color);
    void SetForeFromChoice(TColor color);
    void Image1MouseDown(Qt::MouseButton button, int x, int y);
    void Image2MouseDown(Qt::MouseButton button);
    void Image5MouseDown(Qt::MouseButton button, int x, int y);
    void Image6MouseDown(Qt::MouseButton button, int x, int y);
    void Panel9MouseDown(Qt::MouseButton button);
    // The current image of the active document and its window, when it has a palette.
    TmyImagePal* PalettedImage(TfrmDesk** desk = nullptr) const;
    // Applies an edit of the current image's palette made on `edited` (a copy of it): one undo
    // snapshot, unsaved, redrawn, when anything changed.
    bool CommitPaletteEdit(TfrmDesk& desk, TmyImagePal& image, TmyImagePal&& edited);
    // Redraws the document and the panel after a palette edit of its current image.
    void ShowEditedImage(TfrmDesk& desk, const TmyImagePal& image);

    TmyPixel m_foreColor;
    TmyPixel m_backColor;
    bool EditsLive = true;
    bool HsbSync = true;
    int m_paletteIndex = -1;
    int m_loadFilterIndex = 2; // "All supported palette files"
    int m_saveFilterIndex = 0;
};

// The single colour panel (null while none exists).
TfrmColors* frmColors();
