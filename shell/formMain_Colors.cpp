// The main window's part of the colour panel: creating it, the View > Colors command, its
// layout in the settings, "colors.dat", and showing the current image's palette.
#include "editor/ColorPanel.h"
#include "editor/ToolFrame.h"
#include "editor/formColors.h"
#include "editor/formDesk.h"
#include "editor/formTools.h"
#include "engine/Settings.h"
#include "shell/formMain.h"

#include <QAction>
#include <QToolButton>

QString TfrmMain::ColorsFileName() const
{
    return DataFolder.isEmpty() ? QString() : DataFolder + QStringLiteral("/colors.dat");
}

void TfrmMain::CreateColorsActions()
{
    // Docked in the work area like the other tool windows; AddToolWindow gives View > Colors
    // its handler, which shows and hides the panel's frame.
    m_frmColors = new TfrmColors(ColorsFileName(), this);
    QAction* a = AddAction("actnColors", tr("Colors"), QStringLiteral("View"), nullptr);
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C));
    AddToolWindow(m_frmColors, TDockMngr::SlotColors, a);
}

void TfrmMain::WireColorPanel()
{
    if (auto* tools = dynamic_cast<TfrmTools*>(glimt::ToolEngine()))
        tools->SetPaintColors(m_frmColors);
}

void TfrmMain::RestoreColorsLayout()
{
    const TOptions& o = Options();
    glimt::TToolFrame* frame = ToolFrame(TDockMngr::SlotColors);
    frame->move(o.ColorsLeft, o.ColorsTop);
    if (o.ShowRGB) {
        m_frmColors->btnRGBClick();
        m_frmColors->btnRGB->setChecked(true);
    } else {
        m_frmColors->btnHSBClick();
        m_frmColors->btnHSB->setChecked(true);
    }
    Action(QStringLiteral("actnColors"))->setChecked(o.ColorsVisible);
    frame->setVisible(o.ColorsVisible);
    m_frmColors->SetFavoriteIndex(o.FavoritColorPosition);
    m_frmColors->SetForeColor(o.ForeColor);
    m_frmColors->SetBackColor(o.BackColor);
    m_frmColors->DrawBackColor();
    m_frmColors->DrawForeColor();
    m_frmColors->ShowForeColorValues();
    m_frmColors->UpdateHSBFromRGB();
}

void TfrmMain::SaveColorsLayout()
{
    TOptions& o = Options();
    const glimt::TToolFrame* frame = ToolFrame(TDockMngr::SlotColors);
    o.ColorsTop = frame->y();
    o.ColorsLeft = frame->x();
    o.ColorsVisible = !frame->isHidden();
    o.ShowRGB = m_frmColors->btnRGB->isChecked();
    o.ForeColor = m_frmColors->ForeColor();
    o.BackColor = m_frmColors->BackColor();
    o.FavoritColorPosition = m_frmColors->GetFavoriteIndex();
}

void TfrmMain::SaveColorsFile()
{
    // The favourites are a convenience: a failure to store them never stops the program.
    const QString path = ColorsFileName();
    if (path.isEmpty())
        return;
    try {
        glimt::SaveFavoritesFile(m_frmColors->FavoritesPicture(), path);
    } catch (...) {
    }
}

void TfrmMain::ShowDocumentColors(TfrmDesk* desk)
{
    if (!m_frmColors)
        return;
    const TmyImagePal* image = desk ? desk->CurrentImage() : nullptr;
    m_frmColors->ShowPalette(image && image->Palette ? &*image->Palette : nullptr);
    const std::uint8_t depth = image ? image->BitDepth : 32;
    m_frmColors->SetColorDepth(depth);
    for (const char* name : {"actSmooth", "actopac"})
        if (QAction* a = Action(QString::fromLatin1(name)))
            a->setEnabled(depth == 32);
}
