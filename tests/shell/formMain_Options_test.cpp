// Options > Preferences as the main window sees it: the look it applies reaches the screen as a
// fresh paint of the window would show it.
#include "shell/formOptions.h"

#include "editor/ToolFrame.h"
#include "editor/formbrush.h"
#include "tests/shell/CommandFixture.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScreen>

namespace {

using glimt::test::CommandTest;
using glimt::test::Numbered;

class PreferencesTest : public CommandTest {};

// The pixels where the window as the screen shows it differs from the window painted anew.
int PixelsNotAsPainted(QWidget& window)
{
    const QImage onScreen = window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage fresh = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (onScreen.size() != fresh.size())
        return -1;
    int differing = 0;
    for (int y = 0; y < fresh.height(); ++y)
        for (int x = 0; x < fresh.width(); ++x)
            differing += onScreen.pixel(x, y) != fresh.pixel(x, y);
    return differing;
}

} // namespace

TEST_F(PreferencesTest, AChangedLookReachesTheScreenAsAFreshPaintShowsIt)
{
    // Three documents of different sizes over one another, the grid on, and the brush ring over
    // the active one.
    m_main->resize(900, 700);
    Options().GridVisible = true;
    for (int i = 0; i < 3; ++i) {
        TfrmDesk* desk = Document({Numbered(24 - 6 * i, 20 - 5 * i)});
        desk->SetGrid(true);
    }
    m_main->actCascadeExecute();
    TfrmDesk* active = m_main->ActiveDesk();
    Tools().PressToolButton(glimt::toolBrush);
    Tools().PressSizeKey(5);
    m_main->BrushWindow()->FollowCursor(active->Image1->mapToGlobal(QPoint(3 * active->Zoom, 3 * active->Zoom)));
    ASSERT_TRUE(m_main->BrushWindow()->isVisible());
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    ASSERT_EQ(PixelsNotAsPainted(*m_main), 0);

    TfrmOptions* dialog = m_main->OptionsDialog();
    dialog->show();
    QCoreApplication::processEvents();
    dialog->cbGridColor->SetSelected(0x0000FF);
    dialog->btnOK->click();
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    ASSERT_FALSE(dialog->isVisible());
    EXPECT_EQ(Options().GridColor, TColor(0x0000FF));
    EXPECT_EQ(PixelsNotAsPainted(*m_main), 0);

    // The same for the preview under a tool window moved over it.
    glimt::TToolFrame* preview = m_main->ToolFrame(TDockMngr::SlotPreview);
    glimt::TToolFrame* tools = m_main->ToolFrame(TDockMngr::SlotTools);
    ASSERT_TRUE(preview && tools && preview->isVisible() && tools->isVisible());
    tools->raise();
    tools->move(preview->geometry().center() - QPoint(tools->width() / 2, tools->height() / 2));
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    ASSERT_EQ(PixelsNotAsPainted(*m_main), 0);
    Options().PrevColor = 0x00FF00;
    m_main->ApplyPreferences(false);
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(PixelsNotAsPainted(*m_main), 0);
}
