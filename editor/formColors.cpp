#include "editor/formColors.h"

#include "editor/Artwork.h"
#include "editor/ColorPanel.h"
#include "editor/DialogParts.h"
#include "editor/EditorHost.h"
#include "editor/MyScroll.h"
#include "editor/ToolCursors.h"
#include "editor/Translate.h"
#include "editor/UserDialogs.h"
#include "editor/formDesk.h"
#include "engine/Errors.h"

#include <algorithm>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>

using glimt::TColorFrame;
using glimt::TColorImage;

namespace {

TfrmColors* g_frmColors = nullptr;

// The panel is at least its designed 165 x 365. Its pictures keep their designed places in
// the top 165 x 264 pixels; the buttons and the sliders below them are laid out for their
// texts and font.
constexpr QSize kPanel(165, 365);
constexpr QSize kPictures(165, 264);
constexpr QPoint kForeSwatch(8, 8);
constexpr QPoint kBackSwatch(30, 30);
constexpr QSize kSwatch(44, 40);
constexpr QPoint kFavorites(98, 6);
constexpr QPoint kSpectrum(3, 84);
constexpr QPoint kStrip(3, 248);

struct TSliderInfo {
    const char* scroll;
    const char* edit;
    const char* hint;
    int max;
    const char* text;
};

// Scrollbar1..Scrollbar7 with Edit1..Edit7.
constexpr TSliderInfo kSliders[7] = {
    {"Scrollbar1", "Edit1", "Red", 255, "255"},       {"ScrollBar2", "Edit2", "Green", 255, "255"},
    {"Scrollbar3", "Edit3", "Blue", 255, "255"},      {"Scrollbar4", "Edit4", "Opacity", 255, "255"},
    {"Scrollbar5", "Edit5", "Hue", 359, "0"},         {"Scrollbar6", "Edit6", "Saturation", 100, "0"},
    {"Scrollbar7", "Edit7", "Brightness", 100, "0"},
};
constexpr int kOpacity = 3;
constexpr int kHue = 4;

// The ramp drawn over slider i.
QImage SliderPicture(int i)
{
    QImage ramp(256, 1, QImage::Format_RGB32);
    for (int x = 0; x < 256; ++x) {
        QRgb c = qRgb(x, x, x);
        switch (i) {
        case 0: c = qRgb(x, 0, 0); break;
        case 1: c = qRgb(0, x, 0); break;
        case 2: c = qRgb(0, 0, x); break;
        case kHue: {
            std::int32_t r = 0, g = 0, b = 0;
            TmyPainter::HSVToRGB(x * 359 / 255, 100, 100, r, g, b);
            c = qRgb(r, g, b);
            break;
        }
        case 5: c = qRgb(255, 255 - x, 255 - x); break;
        default: break;
        }
        ramp.setPixel(x, 0, c);
    }
    return ramp;
}

// A flat button with a word on it, as wide as the word needs in its font and no wider, so that
// the slider modes and the palette's buttons fit in one row of the panel.
class TWordButton : public QToolButton {
public:
    using QToolButton::QToolButton;
    QSize sizeHint() const override
    {
        const QSize text = fontMetrics().size(Qt::TextShowMnemonic, this->text());
        const int frame = 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
        return QSize(text.width() + frame + 4, text.height() + frame).expandedTo(minimumSize());
    }
    QSize minimumSizeHint() const override { return sizeHint(); }
};

QToolButton* MakeButton(QWidget* parent, const char* name, const char* text, const char* hint)
{
    auto* b = new TWordButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(QString::fromLatin1(text));
    b->setToolTip(QString::fromLatin1(hint));
    b->setAutoRaise(true);
    return b;
}

// The rows of sliders with their numbers: a slider takes what its number leaves.
QGridLayout* SliderGrid(QWidget* parent)
{
    auto* grid = new QGridLayout(parent);
    grid->setContentsMargins(3, 0, 3, 0);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(0, 1);
    return grid;
}

TColorImage* MakeImage(QWidget* parent, const char* name, const char* hint, QPoint at)
{
    auto* image = new TColorImage(parent);
    image->setObjectName(QString::fromLatin1(name));
    if (hint) {
        image->setToolTip(QString::fromLatin1(hint));
        image->setProperty(glimt::kTranslatedHint, true);
    }
    image->move(at);
    return image;
}

TmyPixel FromColor(TColor color)
{
    return glimt::Opaque(TmyPixel::CreateColor(color));
}

} // namespace

TfrmColors* frmColors()
{
    return g_frmColors;
}

// ---------------------------------------------------------------------------------------------
// Picture controls

namespace glimt {

TColorImage::TColorImage(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
}

void TColorImage::SetPicture(const QImage& picture)
{
    Picture = picture;
    resize(picture.size());
    update();
}

TColor TColorImage::PixelAt(int x, int y) const
{
    if (!Picture.valid(x, y))
        return 0;
    const QRgb c = Picture.pixel(x, y);
    return TColor(qRed(c)) | (TColor(qGreen(c)) << 8) | (TColor(qBlue(c)) << 16);
}

void TColorImage::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, Picture);
}

void TColorImage::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    emit MouseDown(event->button(), at.x(), at.y());
}

void TColorImage::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    emit MouseMove(at.x(), at.y());
}

void TColorImage::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Click();
}

TColorFrame::TColorFrame(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setAutoFillBackground(true);
    setMouseTracking(true);
    SetColor(m_color);
}

void TColorFrame::SetColor(TColor color)
{
    m_color = color;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF)));
    setPalette(pal);
}

void TColorFrame::mousePressEvent(QMouseEvent* event)
{
    emit MouseDown(event->button());
}

void TColorFrame::mouseMoveEvent(QMouseEvent*)
{
    emit MouseMove();
}

} // namespace glimt

// ---------------------------------------------------------------------------------------------
// Creation

TfrmColors::TfrmColors(const QString& favoritesFile, QWidget* parent) : QWidget(parent)
{
    g_frmColors = this;
    setObjectName(QStringLiteral("frmColors"));
    setWindowTitle(QStringLiteral("Colors"));
    setMinimumSize(kPanel);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setMouseTracking(true);
    CreateControls();
    Image5->SetPicture(glimt::LoadFavoritesFile(favoritesFile));
    m_foreColor = PrevForeColor = m_backColor = TmyPixel::Create();
    SetFavoriteIndex(0);
    RedrawSwatches();
    ShowForeColorValues();
    UpdateHSBFromRGB();
}

TfrmColors::~TfrmColors()
{
    if (auto* tools = dynamic_cast<TfrmTools*>(glimt::ToolEngine()))
        tools->SetPaintColors(nullptr);
    if (g_frmColors == this)
        g_frmColors = nullptr;
}

void TfrmColors::CreateControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* pictures = new QWidget(this);
    pictures->setFixedSize(kPictures);
    pictures->setMouseTracking(true);
    layout->addWidget(pictures);

    Image4 = MakeImage(pictures, "Image4", "Background Color", kBackSwatch);
    Image3 = MakeImage(pictures, "Image3", "Foreground Color", kForeSwatch);
    QImage swatch(kSwatch, QImage::Format_RGB32);
    swatch.fill(Qt::black);
    Image3->SetPicture(swatch);
    Image4->SetPicture(swatch);
    connect(Image3, &TColorImage::Click, this, &TfrmColors::Image3Click);
    connect(Image4, &TColorImage::Click, this, &TfrmColors::Image4Click);
    connect(Image3, &TColorImage::MouseMove, this, [this] { ShowColorStatus(m_foreColor); });
    connect(Image4, &TColorImage::MouseMove, this, [this] { ShowColorStatus(m_backColor); });

    btnResetColor = MakeButton(pictures, "btnResetColor", "R", "Reset");
    btnTwistColor = MakeButton(pictures, "btnTwistColor", "<>", "Change");
    btnResetColor->setGeometry(8, 54, 18, 18);
    btnTwistColor->setGeometry(56, 8, 18, 18);
    btnResetColor->setIcon(glimt::ButtonGlyph("resetcolors"));
    btnTwistColor->setIcon(glimt::ButtonGlyph("swapcolors"));
    for (QToolButton* b : {btnResetColor, btnTwistColor})
        b->setIconSize(QSize(14, 14));
    connect(btnResetColor, &QToolButton::clicked, this, &TfrmColors::btnResetColorClick);
    connect(btnTwistColor, &QToolButton::clicked, this, &TfrmColors::btnTwistColorClick);

    Image5 = MakeImage(pictures, "Image5", "Favorite Colors", kFavorites);
    Panel9 = new TColorFrame(pictures);
    Panel9->setObjectName(QStringLiteral("Panel9"));
    Panel9->resize(16, 16);
    connect(Image5, &TColorImage::MouseDown, this, &TfrmColors::Image5MouseDown);
    connect(Panel9, &TColorFrame::MouseDown, this, &TfrmColors::Panel9MouseDown);

    Image1 = MakeImage(pictures, "Image1", nullptr, kSpectrum);
    Image1->SetPicture(glimt::SpectrumPicture());
    connect(Image1, &TColorImage::MouseDown, this, &TfrmColors::Image1MouseDown);

    Image6 = MakeImage(pictures, "Image6", nullptr, kSpectrum);
    Image6->hide();
    Panel8 = new TColorFrame(pictures);
    Panel8->setObjectName(QStringLiteral("Panel8"));
    Panel8->resize(14, 14);
    Panel8->hide();
    connect(Image6, &TColorImage::MouseDown, this, &TfrmColors::Image6MouseDown);

    for (TColorImage* image : {Image1, Image5, Image6})
        connect(image, &TColorImage::MouseMove, this, [this, image](int x, int y) {
            ShowColorStatus(FromColor(image->PixelAt(x, y)));
        });
    for (TColorFrame* frame : {Panel8, Panel9})
        connect(frame, &TColorFrame::MouseMove, this, [this, frame] { ShowColorStatus(FromColor(frame->Color())); });

    Image2 = MakeImage(pictures, "Image2", "Transparent", kStrip);
    Image2->SetPicture(QImage(159, 14, QImage::Format_RGB32));
    ApplyPickerCursor();
    connect(Image2, &TColorImage::MouseDown, this, [this](Qt::MouseButton button, int, int) { Image2MouseDown(button); });
    connect(Image2, &TColorImage::MouseMove, this, [this] { ShowColorStatus(TmyPixel::Create()); });

    btnRGB = MakeButton(this, "btnRGB", "RGB", "RGB");
    btnHSB = MakeButton(this, "btnHSB", "HSB", "HSB");
    for (QToolButton* b : {btnRGB, btnHSB})
        b->setCheckable(true);
    btnRGB->setAutoExclusive(true);
    btnHSB->setAutoExclusive(true);
    btnRGB->setChecked(true);
    connect(btnRGB, &QToolButton::clicked, this, &TfrmColors::btnRGBClick);
    connect(btnHSB, &QToolButton::clicked, this, &TfrmColors::btnHSBClick);
    btnLoadPal = MakeButton(this, "btnLoadPal", "Load", "Load Palette");
    btnSavePal = MakeButton(this, "btnSavePal", "Save", "Save Palette");
    btnLoadPal->hide();
    btnSavePal->hide();
    connect(btnLoadPal, &QToolButton::clicked, this, &TfrmColors::btnLoadPalClick);
    connect(btnSavePal, &QToolButton::clicked, this, &TfrmColors::btnSavePalClick);
    // The slider modes at the left, the palette's buttons at the right; the panel keeps room
    // for those while they are hidden, so that it does not change its width with the image.
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(3, 2, 4, 0);
    buttons->setSpacing(1);
    for (QToolButton* b : {btnRGB, btnHSB, btnLoadPal, btnSavePal}) {
        b->setMinimumSize(b == btnRGB || b == btnHSB ? QSize(34, 18) : QSize(30, 18));
        QSizePolicy policy = b->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        b->setSizePolicy(policy);
    }
    buttons->addWidget(btnRGB);
    buttons->addWidget(btnHSB);
    buttons->addStretch(1);
    buttons->addWidget(btnLoadPal);
    buttons->addWidget(btnSavePal);
    layout->addLayout(buttons);

    // The red, green, blue and opacity rows; the HSB group covers the first three and the
    // opacity row lies below both.
    auto* sliders = new QWidget(this);
    QGridLayout* rgb = SliderGrid(sliders);
    rgb->setContentsMargins(3, 6, 3, 0);
    Panel4 = new QWidget(sliders);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setAutoFillBackground(true);
    QGridLayout* hsb = SliderGrid(Panel4);
    hsb->setContentsMargins(0, 0, 0, 0);
    Panel4->hide();
    for (int i = 0; i < 7; ++i) {
        const TSliderInfo& s = kSliders[i];
        QWidget* parent = i >= kHue ? Panel4 : sliders;
        auto* scroll = new TmyScroll(parent);
        scroll->setObjectName(QString::fromLatin1(s.scroll));
        scroll->setToolTip(QString::fromLatin1(s.hint));
        scroll->setProperty(glimt::kTranslatedHint, true);
        scroll->Min = 0;
        scroll->Max = s.max;
        scroll->setFixedHeight(12);
        scroll->setMinimumWidth(100);
        scroll->SetPicture(SliderPicture(i));
        auto* edit = new glimt::TNumberEdit(QString::fromLatin1(s.text), parent, 3, 30);
        edit->setObjectName(QString::fromLatin1(s.edit));
        edit->setFrame(false);
        edit->installEventFilter(this);
        QGridLayout* grid = i >= kHue ? hsb : rgb;
        const int row = i >= kHue ? i - kHue : i;
        grid->addWidget(scroll, row, 0);
        grid->addWidget(edit, row, 1);
        ScrollBars[std::size_t(i)] = scroll;
        Edits[std::size_t(i)] = edit;
        connect(scroll, &TmyScroll::OnChange, this, [this, i] { ScrollBarChange(i); });
        connect(edit, &QLineEdit::textChanged, this, [this, i] { EditChange(i); });
        if (i != kOpacity) {
            connect(scroll, &TmyScroll::OnMouseDown, this, [this] { PrevForeColor = m_foreColor; });
            connect(scroll, &TmyScroll::OnMouseUp, this, [this] { ReplacePaletteColor(PrevForeColor, m_foreColor); });
        }
    }
    rgb->addWidget(Panel4, 0, 0, 3, 2);
    layout->addWidget(sliders);
    layout->addStretch(1);
    Image3->raise();
    Panel9->raise();
    Panel8->raise();
}

// ---------------------------------------------------------------------------------------------
// Sliders and edits

void TfrmColors::ShowForeColorValues()
{
    EditsLive = false;
    const int values[4] = {m_foreColor.R, m_foreColor.G, m_foreColor.B, m_foreColor.A};
    for (int i = 0; i < 4; ++i) {
        ScrollBars[std::size_t(i)]->SetPosition(values[i]);
        Edits[std::size_t(i)]->setText(QString::number(values[i]));
    }
    EditsLive = true;
}

void TfrmColors::ScrollBarChange(int i)
{
    TmyScroll* scroll = ScrollBars[std::size_t(i)];
    QLineEdit* edit = Edits[std::size_t(i)];
    const QString position = QString::number(scroll->Position());
    if (i >= kHue) {
        if (edit->text() != position) {
            edit->setText(position);
            UpdateRGBFromHSB();
        }
        return;
    }
    if (!EditsLive)
        return;
    ForeColorFromSliders();
    if (i != kOpacity)
        UpdateHSBFromRGB();
    if (edit->text() != position)
        edit->setText(position);
}

void TfrmColors::ForeColorFromSliders()
{
    m_foreColor.R = std::uint8_t(ScrollBars[0]->Position());
    m_foreColor.G = std::uint8_t(ScrollBars[1]->Position());
    m_foreColor.B = std::uint8_t(ScrollBars[2]->Position());
    if (!ScrollBars[kOpacity]->isHidden())
        m_foreColor.A = std::uint8_t(ScrollBars[kOpacity]->Position());
    else if (m_foreColor.A != 0)
        m_foreColor.A = 255;
    DrawForeColor();
}

void TfrmColors::UpdateRGBFromHSB()
{
    if (!HsbSync)
        return;
    HsbSync = false;
    std::int32_t r = 0, g = 0, b = 0;
    TmyPainter::HSVToRGB(ScrollBars[4]->Position(), ScrollBars[5]->Position(), ScrollBars[6]->Position(), r, g, b);
    ScrollBars[0]->SetPosition(r);
    ScrollBars[1]->SetPosition(g);
    ScrollBars[2]->SetPosition(b);
    HsbSync = true;
}

void TfrmColors::UpdateHSBFromRGB()
{
    if (!HsbSync)
        return;
    HsbSync = false;
    std::int32_t h = 0, s = 0, v = 0;
    TmyPainter::RGBToHSV(float(ScrollBars[0]->Position()), float(ScrollBars[1]->Position()),
                         float(ScrollBars[2]->Position()), h, s, v);
    ScrollBars[4]->SetPosition(h);
    ScrollBars[5]->SetPosition(s);
    ScrollBars[6]->SetPosition(v);
    HsbSync = true;
}

void TfrmColors::EditChange(int i)
{
    QLineEdit* edit = Edits[std::size_t(i)];
    TmyScroll* scroll = ScrollBars[std::size_t(i)];
    const QString text = glimt::ClampEditText(edit->text(), scroll->Max);
    if (text != edit->text()) {
        edit->setText(text); // comes back here with the kept text
        return;
    }
    const int value = text.toInt();
    if (value == scroll->Position())
        return;
    scroll->SetPosition(value);
    if (i >= kHue)
        UpdateRGBFromHSB();
}

bool TfrmColors::eventFilter(QObject* watched, QEvent* event)
{
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit || std::find(Edits.begin(), Edits.end(), edit) == Edits.end())
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        PrevForeColor = m_foreColor;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab || key->key() == Qt::Key_Delete)
            break;
        // Only digits and backspace are typed; keys without text (arrows, Home) still move.
        const QString t = key->text();
        if (!t.isEmpty() && t != QStringLiteral("\b") && !(t.size() == 1 && t[0].isDigit() && t[0].unicode() < 128))
            return true;
        break;
    }
    case QEvent::KeyRelease: ReplacePaletteColor(PrevForeColor, m_foreColor); break;
    case QEvent::MouseButtonRelease: {
        const bool handled = QWidget::eventFilter(watched, event);
        edit->selectAll();
        return handled;
    }
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmColors::btnRGBClick()
{
    Panel4->hide();
}

void TfrmColors::btnHSBClick()
{
    Panel4->show();
    Panel4->raise();
}

// ---------------------------------------------------------------------------------------------
// Swatches

void TfrmColors::DrawForeColor()
{
    const TColor rgb = m_foreColor.GetColor();
    glimt::FillFavoriteCell(Image5->Picture, GetFavoriteIndex(), rgb);
    Image5->update();
    Panel9->SetColor(rgb);
    Panel8->SetColor(rgb);
    glimt::DrawSwatch(Image3->Picture, m_foreColor, glimt::Checkerboard::FromOptions());
    Image3->update();
}

void TfrmColors::DrawBackColor()
{
    glimt::DrawSwatch(Image4->Picture, m_backColor, glimt::Checkerboard::FromOptions());
    Image4->update();
}

void TfrmColors::RedrawSwatches()
{
    DrawForeColor();
    DrawBackColor();
    const glimt::Checkerboard board = glimt::Checkerboard::FromOptions();
    QImage& strip = Image2->Picture;
    for (int y = 0; y < strip.height(); ++y)
        for (int x = 0; x < strip.width(); ++x) {
            const TColor c = board.ColorAt(x, y);
            strip.setPixel(x, y, qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)));
        }
    Image2->update();
}

const QImage& TfrmColors::FavoritesPicture() const
{
    return Image5->Picture;
}

int TfrmColors::GetFavoriteIndex() const
{
    return ((Panel9->y() - Image5->y() + 2) / glimt::kFavoriteCell) * glimt::kFavoriteColumns
           + (Panel9->x() - Image5->x() + 2) / glimt::kFavoriteCell;
}

void TfrmColors::SetFavoriteIndex(int i)
{
    // A stored position outside the grid (a hand-edited settings file) selects the first cell.
    if (i < 0 || i >= glimt::kFavoriteColumns * glimt::kFavoriteRows)
        i = 0;
    Panel9->move(Image5->x() + (i % glimt::kFavoriteColumns) * glimt::kFavoriteCell - 2,
                 Image5->y() + (i / glimt::kFavoriteColumns) * glimt::kFavoriteCell - 2);
}

// ---------------------------------------------------------------------------------------------
// Direct choices

void TfrmColors::ForeColorsShown()
{
    DrawForeColor();
    ShowForeColorValues();
    UpdateHSBFromRGB();
}

void TfrmColors::SetForeFromChoice(TColor color)
{
    if (m_foreColor.A == 0)
        m_foreColor.A = 255;
    m_foreColor.SetColor(color);
    ForeColorsShown();
}

void TfrmColors::SetBackFromChoice(TColor color)
{
    const int opacity = ScrollBars[kOpacity]->Position();
    m_backColor.A = std::uint8_t(opacity == 0 ? 255 : opacity);
    m_backColor.SetColor(color);
    DrawBackColor();
}

void TfrmColors::Image1MouseDown(Qt::MouseButton button, int x, int y)
{
    if (button == Qt::LeftButton)
        SetForeFromChoice(Image1->PixelAt(x, y));
    else
        SetBackFromChoice(Image1->PixelAt(x, y));
}

void TfrmColors::Image5MouseDown(Qt::MouseButton button, int x, int y)
{
    const TColor color = Image5->PixelAt(x, y);
    if (button != Qt::LeftButton) {
        SetBackFromChoice(color);
        return;
    }
    SetFavoriteIndex((y / glimt::kFavoriteCell) * glimt::kFavoriteColumns + x / glimt::kFavoriteCell);
    Panel9->SetColor(color);
    SetForeFromChoice(color);
}

void TfrmColors::Panel9MouseDown(Qt::MouseButton button)
{
    if (button != Qt::RightButton)
        return;
    m_backColor.SetColor(Panel9->Color());
    m_backColor.A = std::uint8_t(ScrollBars[kOpacity]->Position());
    DrawBackColor();
}

void TfrmColors::Image2MouseDown(Qt::MouseButton button)
{
    if (button == Qt::LeftButton) {
        m_foreColor = TmyPixel::Create();
        ForeColorsShown();
        HighlightPaletteIndex(-1);
    } else {
        m_backColor = TmyPixel::Create();
        DrawBackColor();
    }
}

void TfrmColors::Image3Click()
{
    TColor color = m_foreColor.GetColor();
    if (!glimt::UserDialogs().ChooseColor(color))
        return;
    PrevForeColor = m_foreColor;
    SetForeFromChoice(color);
    ReplacePaletteColor(PrevForeColor, m_foreColor);
}

void TfrmColors::Image4Click()
{
    TColor color = m_backColor.GetColor();
    if (!glimt::UserDialogs().ChooseColor(color))
        return;
    SetBackFromChoice(color);
    // A paletted image can only be painted with its palette's colours.
    if (const TmyImagePal* image = PalettedImage()) {
        m_backColor = glimt::Opaque(image->Palette->NearestColor(m_backColor));
        DrawBackColor();
    }
}

void TfrmColors::ResetColors()
{
    m_foreColor = TmyPixel::CreateRGBA(0, 0, 0, 255);
    m_backColor = TmyPixel::Create();
    ShowForeColorValues();
}

void TfrmColors::btnResetColorClick()
{
    PrevForeColor = m_foreColor;
    ResetColors();
    DrawBackColor();
    ForeColorsShown();
    ReplacePaletteColor(PrevForeColor, m_foreColor);
}

void TfrmColors::btnTwistColorClick()
{
    std::swap(m_foreColor, m_backColor);
    // The palette selection follows the colour, so that a later edit rewrites its entry and
    // not the one the other colour came from.
    if (const TmyImagePal* image = PalettedImage())
        HighlightPaletteIndex(image->Palette->IndexOf(m_foreColor));
    DrawBackColor();
    ForeColorsShown();
}

void TfrmColors::ApplyPickerCursor()
{
    const QCursor picker = glimt::ScreenCursor(glimt::ToolCursorIndex(glimt::toolPicker));
    for (TColorImage* image : {Image1, Image6, Image2})
        image->setCursor(picker);
}

void TfrmColors::PickForeColor(const TmyPixel& color)
{
    m_foreColor = color;
    if (const TmyImagePal* image = PalettedImage())
        HighlightPaletteIndex(image->Palette->IndexOf(color));
    ForeColorsShown();
}

void TfrmColors::PickBackColor(const TmyPixel& color)
{
    m_backColor = color;
    DrawBackColor();
}

// ---------------------------------------------------------------------------------------------
// Status line and mouse moves

void TfrmColors::ShowColorStatus(const TmyPixel& color)
{
    if (glimt::IEditorHost* host = glimt::EditorHost())
        host->SetStatusText(0, glimt::ColorStatusText(color));
}

void TfrmColors::mouseMoveEvent(QMouseEvent* event)
{
    if (glimt::IEditorHost* host = glimt::EditorHost())
        host->SetStatusText(0, QString());
    QWidget::mouseMoveEvent(event);
}
