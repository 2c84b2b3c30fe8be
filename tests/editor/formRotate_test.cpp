#include "editor/formRotate.h"

#include "editor/MyScroll.h"
#include "editor/framePreview.h"
#include "tests/editor/DeskFakes.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <gtest/gtest.h>

// The turned copy is shown in a preview frame: at its real size, and panned by dragging it
// when it is larger than the box.
TEST(TfrmRotate, ThePreviewIsAPannablePreviewFrameOfTheTurnedCopy)
{
    glimt::test::ScopedEditor editor;
    TfrmDesk desk;
    desk.Icon->AddImage(300, 400, 32).Fill(TmyPixel::CreateRGBA(10, 200, 30, 255));
    desk.Icon->Current = 0;
    editor.host.Active = &desk;
    TfrmRotate dialog;
    dialog.Edit1->setText(QStringLiteral("90"));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    Tpreview* preview = dialog.findChild<Tpreview*>(QStringLiteral("preview1"));
    ASSERT_EQ(preview, dialog.preview1);
    EXPECT_EQ(preview->Image1->size(), QSize(400, 300));
    const QRgb middle = preview->Image1->Picture.pixel(200, 150); // drawn over the preview colour
    EXPECT_NEAR(qRed(middle), 10, 1);
    EXPECT_NEAR(qGreen(middle), 200, 1);
    EXPECT_NEAR(qBlue(middle), 30, 1);
    QScrollBar* h = preview->ScrollBox1->horizontalScrollBar();
    ASSERT_GT(h->maximum(), 0);
    const QPoint at = preview->Image1->mapToGlobal(QPoint(50, 50));
    preview->Image1MouseDown(Qt::LeftButton, at);
    preview->Image1MouseMove(at - QPoint(10, 0));
    preview->Image1MouseUp();
    EXPECT_EQ(h->value(), 10);
}
