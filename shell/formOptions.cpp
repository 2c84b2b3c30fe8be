#include "shell/formOptions.h"

#include "editor/DialogParts.h"
#include "editor/FormBuilder.h"
#include "engine/Settings.h"
#include "shell/formMain.h"
#include "shell/registryeditor.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace glimt {

namespace {

QColor ToQColor(TColor c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

TColor FromQColor(const QColor& c)
{
    return TColor(c.red()) | (TColor(c.green()) << 8) | (TColor(c.blue()) << 16);
}

struct GridPreset {
    const char* caption;
    int color2[3];
    int color1[3];
};

// Rows 1 and 6 are blank separators; row 0 keeps the custom colours.
const GridPreset GridPresets[kGridPresetCount] = {
    {"Custom", {-1}, {-1}},
    {"", {-1}, {-1}},
    {"Extra Light", {239, 239, 239}, {255, 255, 255}},
    {"Light", {189, 189, 189}, {231, 231, 231}},
    {"Medium", {82, 82, 82}, {156, 156, 156}},
    {"Dark", {33, 33, 33}, {82, 82, 82}},
    {"", {-1}, {-1}},
    {"Red", {255, 206, 206}, {255, 255, 255}},
    {"Orange", {255, 222, 189}, {255, 255, 255}},
    {"Green", {206, 231, 206}, {255, 255, 255}},
    {"Blue", {206, 231, 255}, {255, 255, 255}},
    {"Purple", {231, 206, 255}, {255, 255, 255}},
};

struct NamedColor {
    const char* name;
    TColor color;
};

// The standard colours, then the extended ones.
const NamedColor NamedColors[] = {
    {"Black", 0x000000},       {"Maroon", 0x000080}, {"Green", 0x008000},    {"Olive", 0x008080},
    {"Navy", 0x800000},        {"Purple", 0x800080}, {"Teal", 0x808000},     {"Gray", 0x808080},
    {"Silver", 0xC0C0C0},      {"Red", 0x0000FF},    {"Lime", 0x00FF00},     {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},        {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},    {"White", 0xFFFFFF},
    {"Money Green", 0xC0DCC0}, {"Sky Blue", 0xF0CAA6}, {"Cream", 0xF0FBFF},  {"Medium Gray", 0xA4A0A0},
};

QIcon Swatch(TColor color)
{
    QPixmap pixmap(16, 12);
    pixmap.fill(ToQColor(color));
    QPainter p(&pixmap);
    p.setPen(Qt::black);
    p.drawRect(0, 0, 15, 11);
    return QIcon(pixmap);
}

} // namespace

QImage GridPresetPicture(int row)
{
    if (row < 0 || row >= kGridPresetCount || GridPresets[row].color2[0] < 0)
        return QImage();
    const GridPreset& g = GridPresets[row];
    QImage picture(16, 16, QImage::Format_RGB32);
    const QColor c2(g.color2[0], g.color2[1], g.color2[2]);
    const QColor c1(g.color1[0], g.color1[1], g.color1[2]);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            picture.setPixelColor(x, y, (x / 4 + y / 4) % 2 == 0 ? c2 : c1);
    return picture;
}

void DrawCheckerSample(QImage& picture, int cell, TColor color1, TColor color2)
{
    picture.fill(ToQColor(color1));
    if (cell <= 0)
        return;
    QPainter p(&picture);
    const QColor c2 = ToQColor(color2);
    for (int y = 0; y < picture.height(); y += cell) {
        for (int x = (y / cell) % 2 == 0 ? 0 : cell; x < picture.width(); x += 2 * cell)
            p.fillRect(x, y, cell, cell, c2);
    }
}

bool LookChanged(const TOptions& o, int cell, TColor color1, TColor color2, TColor gridColor, int gridStyle)
{
    return !(o.BKSize == cell && o.Color1 == color1 && o.Color2 == color2 && o.GridColor == gridColor &&
             o.GridStyle == std::uint8_t(gridStyle));
}

TColorBox::TColorBox(QWidget* parent)
    : QComboBox(parent)
{
    addItem(Swatch(0), QStringLiteral("Custom..."), QVariant::fromValue(0u));
    m_customRow = 0;
    for (const NamedColor& c : NamedColors)
        addItem(Swatch(c.color), QString::fromLatin1(c.name), QVariant::fromValue(unsigned(c.color)));
    PickCustom = [this](TColor start) -> std::optional<TColor> {
        const QColor c = QColorDialog::getColor(ToQColor(start), this);
        if (!c.isValid())
            return std::nullopt;
        return FromQColor(c);
    };
    connect(this, &QComboBox::activated, this, &TColorBox::ItemActivated);
    SetSelected(0);
}

void TColorBox::SetSelected(TColor color)
{
    m_selected = color & 0xFFFFFF;
    for (int i = 0; i < count(); ++i) {
        if (i != m_customRow && itemData(i).toUInt() == m_selected) {
            setCurrentIndex(i);
            return;
        }
    }
    setItemData(m_customRow, QVariant::fromValue(unsigned(m_selected)));
    setItemIcon(m_customRow, Swatch(m_selected));
    setCurrentIndex(m_customRow);
}

void TColorBox::ItemActivated(int index)
{
    if (index == m_customRow) {
        const std::optional<TColor> picked = PickCustom ? PickCustom(m_selected) : std::nullopt;
        if (!picked) {
            SetSelected(m_selected);
            return;
        }
        SetSelected(*picked);
    } else {
        m_selected = itemData(index).toUInt();
    }
    emit Changed();
}

} // namespace glimt

namespace {

template <class T>
T* MakeControl(QWidget* parent, const char* name)
{
    auto* widget = new T(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QWidget* Page(QTabWidget* tabs, const char* name, const QString& caption)
{
    auto* page = new QWidget;
    page->setObjectName(QLatin1String(name));
    tabs->addTab(page, caption);
    return page;
}

// A colour box at least as wide as designed, and as wide as its longest entry.
glimt::TColorBox* MakeColorBox(QWidget* parent, const char* name)
{
    auto* box = MakeControl<glimt::TColorBox>(parent, name);
    box->setMinimumWidth(122);
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return box;
}

// One answer of a question: the radio button made into `button`, its name and text.
struct TAnswer {
    QRadioButton*& button;
    const char* name;
    const char* text;
};

// A group of one question: its label, then its answers set in below it.
QGroupBox* QuestionGroup(QWidget* page, const char* name, const QString& title, const char* labelName,
                         const QString& question, std::initializer_list<TAnswer> answers)
{
    auto* group = glimt::Make<QGroupBox>(page, name, title);
    auto* layout = new QVBoxLayout(group);
    layout->setSpacing(2);
    layout->addWidget(glimt::Make<QLabel>(group, labelName, question));
    for (const TAnswer& a : answers) {
        a.button = glimt::Make<QRadioButton>(group, a.name, QString::fromLatin1(a.text));
        auto* row = new QHBoxLayout;
        row->addSpacing(10);
        row->addWidget(a.button);
        layout->addLayout(row);
    }
    return group;
}

} // namespace

using glimt::Make;

TfrmOptions::TfrmOptions(QWidget* parent)
    : QDialog(parent)
    , ProgramPath(QCoreApplication::applicationFilePath())
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Preferences"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    glimt::TDialogHeader header;
    header.Create(this, QStringLiteral("Preferences"), QStringLiteral("Change preferences"), 393);
    Image4 = header.Image4;
    QVBoxLayout* layout = glimt::MakeDialogLayout(this, &header, QSize(393, 361));
    layout->setContentsMargins(6, 6, 6, 8);

    Actions = MakeControl<QTabWidget>(this, "Actions");
    Actions->setMinimumSize(381, 266);
    layout->addWidget(Actions, 1);

    // Transparency and grid.
    QWidget* page = Page(Actions, "tsGrid", QStringLiteral("Transparency/Grid"));
    auto* pageLayout = new QVBoxLayout(page);
    auto* grpTransparency = Make<QGroupBox>(page, "grpTransparency", QStringLiteral(" Transparency "));
    auto* transparency = new QGridLayout(grpTransparency);
    transparency->addWidget(Make<QLabel>(grpTransparency, "lblSize", QStringLiteral("Grid Size")), 0, 0);
    cmbSize = MakeControl<QComboBox>(grpTransparency, "cmbSize");
    cmbSize->setMinimumWidth(130);
    cmbSize->addItems({QStringLiteral("Small"), QStringLiteral("Medium"), QStringLiteral("Large")});
    transparency->addWidget(cmbSize, 0, 1);
    transparency->addWidget(Make<QLabel>(grpTransparency, "lblGrid", QStringLiteral("Grid Color")), 1, 0);
    cmbGrid = MakeControl<QComboBox>(grpTransparency, "cmbGrid");
    cmbGrid->setMinimumWidth(130);
    cmbGrid->setMaxVisibleItems(12);
    for (int row = 0; row < glimt::kGridPresetCount; ++row) {
        ImageList1.append(glimt::GridPresetPicture(row));
        const QString caption = QString::fromLatin1(glimt::GridPresets[row].caption);
        if (ImageList1.last().isNull())
            cmbGrid->addItem(caption);
        else
            cmbGrid->addItem(QIcon(QPixmap::fromImage(ImageList1.last())), caption);
    }
    transparency->addWidget(cmbGrid, 1, 1);
    transparency->addWidget(Make<QLabel>(grpTransparency, "lblCustom", QStringLiteral("Custom Colors")), 2, 0);
    cbColor2 = MakeColorBox(grpTransparency, "cbColor2");
    cbColor1 = MakeColorBox(grpTransparency, "cbColor1");
    cbColor1->setEnabled(false);
    cbColor2->setEnabled(false);
    transparency->addWidget(cbColor2, 2, 1);
    transparency->addWidget(cbColor1, 2, 2);
    auto* sampleFrame = MakeControl<QFrame>(grpTransparency, "Bevel1");
    sampleFrame->setFrameShape(QFrame::Box);
    sampleFrame->setFixedSize(52, 52);
    Image1 = MakeControl<QLabel>(sampleFrame, "Image1");
    Image1->setGeometry(2, 2, 48, 48);
    SamplePicture = QImage(48, 48, QImage::Format_RGB32);
    transparency->addWidget(sampleFrame, 0, 2, 2, 1, Qt::AlignRight | Qt::AlignVCenter);
    transparency->setColumnStretch(3, 1);
    pageLayout->addWidget(grpTransparency);

    auto* grpGrid = Make<QGroupBox>(page, "grpGrid", QStringLiteral(" Grid "));
    auto* grid = new QHBoxLayout(grpGrid);
    grid->addWidget(Make<QLabel>(grpGrid, "lblStyle", QStringLiteral("Style")));
    cmbStyle = MakeControl<QComboBox>(grpGrid, "cmbStyle");
    cmbStyle->setMinimumWidth(120);
    cmbStyle->addItems({QStringLiteral("Solid"), QStringLiteral("Dashed Lines"), QStringLiteral("Dots")});
    grid->addWidget(cmbStyle);
    grid->addStretch(1);
    grid->addWidget(Make<QLabel>(grpGrid, "lblGridColor", QStringLiteral("Color")));
    cbGridColor = MakeColorBox(grpGrid, "cbGridColor");
    grid->addWidget(cbGridColor);
    pageLayout->addWidget(grpGrid);

    auto* grpColors = Make<QGroupBox>(page, "grpColors", QStringLiteral(" Colors "));
    auto* colors = new QHBoxLayout(grpColors);
    colors->addWidget(Make<QLabel>(grpColors, "lblPreviewColor", QStringLiteral("Preview Background Color")));
    colors->addStretch(1);
    cbPreviewColor = MakeColorBox(grpColors, "cbPreviewColor");
    colors->addWidget(cbPreviewColor);
    pageLayout->addWidget(grpColors);
    pageLayout->addStretch(1);

    // Answers to the two questions.
    page = Page(Actions, "tsActions", QStringLiteral("Actions"));
    pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(QuestionGroup(page, "grpPalette", QStringLiteral(" Palette  "), "lblPalette",
        QStringLiteral("If the palette is about to be changed:"),
        {{rbChange, "rbChange", "Change the palette (Better image quality)"},
         {rbNotChange, "rbNotChange", "Don't change the palette"},
         {rbPalPrompt, "rbPalPrompt", "Prompt for action"}}));
    pageLayout->addWidget(QuestionGroup(page, "grpPaste", QStringLiteral(" Paste / Import "), "lblPaste",
        QStringLiteral("If the pasted or imported  image is larger than the canvas:"),
        {{rbResize, "rbResize", "Resize the image"}, {rbCrop, "rbCrop", "Crop the image"},
         {rbPastePrompt, "rbPastePrompt", "Prompt for action"}}));
    pageLayout->addStretch(1);

    page = Page(Actions, "tsOptions", QStringLiteral("Options"));
    pageLayout = new QVBoxLayout(page);
    pageLayout->setSpacing(4);
    const std::pair<QCheckBox**, const char*> boxes[] = {
        {&cbCompress, "Compress 256x256 images for Windows Vista"},
        {&cbSmooth, "Smooth edge of brush"},
        {&cbAlpha, "Use filter on alpha channel"},
        {&cbRatio, "Keep aspect ratio when importing from images"},
        {&cbClipbrd, "Empty the clipboard when exiting"},
        {&cbExportAlpha, "Export transparency information when exporting to image"},
        {&cbTransparent, "Preserve the transparency of the selection"},
        {&cbDragAndDrop, "Selection can be dragged between windows"},
        {&cbIcon, "Create empty icon at startup"},
    };
    const char* const boxNames[] = {"cbCompress", "cbSmooth",      "cbAlpha",       "cbRatio", "cbClipbrd",
                                    "cbExportAlpha", "cbTransparent", "cbDragAndDrop", "cbIcon"};
    for (std::size_t i = 0; i < std::size(boxes); ++i) {
        *boxes[i].first = Make<QCheckBox>(page, boxNames[i], QString::fromLatin1(boxes[i].second));
        pageLayout->addWidget(*boxes[i].first);
    }
    pageLayout->addStretch(1);
    cbIcon->setVisible(false);

    page = Page(Actions, "tsAssociation", QStringLiteral("Association"));
    pageLayout = new QVBoxLayout(page);
    cbAssoc = Make<QCheckBox>(page, "cbAssoc", QStringLiteral("Associate .ICO files with Glimt"));
    cbContext = Make<QCheckBox>(page, "cbContext", QStringLiteral("Add Glimt to Windows Explorer's context menu"));
    pageLayout->addWidget(cbAssoc);
    pageLayout->addWidget(cbContext);
    pageLayout->addStretch(1);

    btnOK = glimt::MakeDialogButton(this, "btnOK", QStringLiteral("OK"));
    btnCancel = glimt::MakeDialogButton(this, "btnCancel", QStringLiteral("Cancel"));
    btnOK->setDefault(true);
    glimt::AddButtonRow(layout, {btnOK, btnCancel});

    ApplyLook = [](bool RedrawAll) {
        if (TfrmMain* main = frmMain())
            main->ApplyPreferences(RedrawAll);
    };
    connect(cmbSize, &QComboBox::activated, this, &TfrmOptions::cmbSizeChange);
    connect(cmbGrid, &QComboBox::activated, this, &TfrmOptions::cmbGridChange);
    connect(cbColor1, &glimt::TColorBox::Changed, this, &TfrmOptions::DrawCheckerSample);
    connect(cbColor2, &glimt::TColorBox::Changed, this, &TfrmOptions::DrawCheckerSample);
    connect(btnOK, &QPushButton::clicked, this, &TfrmOptions::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmOptions::btnCancelClick);
    // The dialog sees Enter before the focused control (key preview).
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);
}

QList<std::pair<QCheckBox*, bool TOptions::*>> TfrmOptions::OptionBoxes() const
{
    // In the order OK writes them.
    return {{cbCompress, &TOptions::Compress},           {cbSmooth, &TOptions::SmoothEdges},
            {cbAlpha, &TOptions::FilterOnAlpha},         {cbRatio, &TOptions::KeepAspectRatio},
            {cbClipbrd, &TOptions::ClearClipboard},      {cbExportAlpha, &TOptions::ExportAlpha},
            {cbTransparent, &TOptions::TransparentSelection}, {cbIcon, &TOptions::NewIcon},
            {cbDragAndDrop, &TOptions::AllowDragAndDrop}};
}

int TfrmOptions::CheckedValue(QRadioButton* first, QRadioButton* second, QRadioButton* third)
{
    return first->isChecked() ? 0 : second->isChecked() ? 1 : third->isChecked() ? 2 : -1;
}

void TfrmOptions::CheckValue(int value, QRadioButton* first, QRadioButton* second, QRadioButton* third)
{
    if (QRadioButton* rb = value == 0 ? first : value == 1 ? second : value == 2 ? third : nullptr)
        rb->setChecked(true);
}

void TfrmOptions::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmOptions::FormShow()
{
    const TOptions& o = Options();
    Actions->setCurrentIndex(0);
    CellSize = o.BKSize;
    if (CellSize == 4 || CellSize == 8 || CellSize == 16)
        cmbSize->setCurrentIndex(CellSize == 4 ? 0 : CellSize == 8 ? 1 : 2);
    if (o.SelectedIndex < cmbGrid->count())
        cmbGrid->setCurrentIndex(o.SelectedIndex);
    cbColor1->SetSelected(o.Color1);
    cbColor2->SetSelected(o.Color2);
    if (o.GridStyle < cmbStyle->count())
        cmbStyle->setCurrentIndex(o.GridStyle);
    cbGridColor->SetSelected(o.GridColor);
    cbPreviewColor->SetSelected(o.PrevColor);
    CheckValue(o.PaletteAction, rbChange, rbNotChange, rbPalPrompt);
    CheckValue(o.ClipboardAction, rbResize, rbCrop, rbPastePrompt);
    for (const auto& [box, field] : OptionBoxes())
        box->setChecked(o.*field);
    const bool writable = glimt::HasIcoKey();
    cbAssoc->setEnabled(writable);
    cbContext->setEnabled(writable);
    cbAssoc->setChecked(glimt::IsIcoAssociated());
    cbContext->setChecked(glimt::IsContextMenuSet(ProgramPath));
    DrawCheckerSample();
}

void TfrmOptions::cmbSizeChange()
{
    const int row = cmbSize->currentIndex();
    CellSize = std::uint8_t(row == 0 ? 4 : row == 1 ? 8 : 16);
    DrawCheckerSample();
}

void TfrmOptions::cmbGridChange()
{
    cbColor2->setEnabled(cmbGrid->currentIndex() == 0);
    cbColor1->setEnabled(cmbGrid->currentIndex() == 0);
    if (cmbGrid->currentIndex() == 1 || cmbGrid->currentIndex() == 6)
        cmbGrid->setCurrentIndex(cmbGrid->currentIndex() + 1);
    const int row = cmbGrid->currentIndex();
    if (row == 0)
        return;
    const QImage& picture = ImageList1.at(row);
    cbColor2->SetSelected(glimt::FromQColor(picture.pixelColor(2, 2)));
    cbColor1->SetSelected(glimt::FromQColor(picture.pixelColor(6, 2)));
    DrawCheckerSample();
}

void TfrmOptions::DrawCheckerSample()
{
    glimt::DrawCheckerSample(SamplePicture, CellSize, cbColor1->Selected(), cbColor2->Selected());
    Image1->setPixmap(QPixmap::fromImage(SamplePicture));
}

void TfrmOptions::btnOKClick()
{
    TOptions& o = Options();
    const bool changed = glimt::LookChanged(o, CellSize, cbColor1->Selected(), cbColor2->Selected(),
                                            cbGridColor->Selected(), cmbStyle->currentIndex());
    o.BKSize = CellSize;
    o.SelectedIndex = std::uint8_t(cmbGrid->currentIndex());
    o.Color1 = cbColor1->Selected();
    o.Color2 = cbColor2->Selected();
    o.GridStyle = std::uint8_t(cmbStyle->currentIndex());
    o.GridColor = cbGridColor->Selected();
    o.PrevColor = cbPreviewColor->Selected();
    if (const int v = CheckedValue(rbChange, rbNotChange, rbPalPrompt); v >= 0)
        o.PaletteAction = std::uint8_t(v);
    if (const int v = CheckedValue(rbResize, rbCrop, rbPastePrompt); v >= 0)
        o.ClipboardAction = std::uint8_t(v);
    for (const auto& [box, field] : OptionBoxes())
        o.*field = box->isChecked();
    // A defaults file that cannot be read is reported and left as it was; the rest still applies.
    if (cbAssoc->isEnabled())
        glimt::ReportFailures([&] { glimt::SetIcoAssociation(ProgramPath, cbAssoc->isChecked()); });
    if (cbContext->isEnabled())
        glimt::SetContextMenu(ProgramPath, cbContext->isChecked());
    if (ApplyLook)
        ApplyLook(changed);
    accept();
}

void TfrmOptions::btnCancelClick()
{
    reject();
}

bool TfrmOptions::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            btnOK->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
