// The Image commands of the main window that are not effects: the colour-depth change (Data
// Type), the Dimension dialog and the Free Rotate dialog.
#include "shell/formMain.h"

#include "editor/formDesk.h"
#include "editor/formDimension.h"
#include "editor/formNew.h"
#include "editor/formRotate.h"
#include "engine/MyIcoIO.h"
#include "engine/PaletteLibrary.h"

#include <QAction>

void TfrmMain::CreateImageActions()
{
    const QString dataType = QStringLiteral("Data Type");
    const struct {
        const char* name;
        const char* caption;
        std::uint8_t depth;
    } depths[] = {
        {"actn32bit", QT_TR_NOOP("True Colors + Alpha (32 bits)"), 32},
        {"actn24bit", QT_TR_NOOP("True Colors (24 bits)"), 24},
        {"actn8bit", QT_TR_NOOP("Optimized 256 Colors (8 bits)"), 8},
        {"actn4bit", QT_TR_NOOP("Optimized 16 Colors (4 bits)"), 4},
        {"actn1bit", QT_TR_NOOP("Optimized 2 Colors (1 bit)"), 1},
    };
    for (const auto& d : depths) {
        const std::uint8_t depth = d.depth;
        AddAction(d.name, tr(d.caption), dataType, [this, depth] { ChangeColorDepth(depth); });
    }

    const QString image = QStringLiteral("Image");
    QAction* a = AddAction("actnDim", tr("Dimension..."), image, [this] { DimensionDialog()->exec(); });
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    a = AddAction("actRotateFree", tr("Free Rotate..."), QStringLiteral("Rotate/Flip"), [this] { RotateDialog()->exec(); });
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
}

TfrmDimension* TfrmMain::DimensionDialog()
{
    if (!m_frmDimension)
        m_frmDimension = new TfrmDimension(this);
    return m_frmDimension;
}

TfrmRotate* TfrmMain::RotateDialog()
{
    if (!m_frmRotate)
        m_frmRotate = new TfrmRotate(this);
    return m_frmRotate;
}

void TfrmMain::ChangeColorDepth(std::uint8_t Depth)
{
    TfrmDesk* desk = ActiveDesk();
    TmyImagePal* image = desk ? desk->CurrentImage() : nullptr;
    if (!image || !TfrmNewImage::IsFormatUnique(*desk->Icon, image->Width(), image->Height(), Depth))
        return;
    desk->Undo->Push(*image);
    desk->Saved = false;
    UpdateUndoActions();
    TPaletteLibrary::ConvertImageDepth(*image, Depth);
    ShowReplacedImage(desk);
}

void TfrmMain::ShowReplacedImage(TfrmDesk* desk)
{
    desk->ShowImage(*desk->CurrentImage());
    DocumentShown(desk);
    // The images may no longer be in editing order; the current one is followed.
    const bool moved = TmyIcoIO::SortImages(*desk->Icon);
    desk->FillImageCombo(moved);
}
