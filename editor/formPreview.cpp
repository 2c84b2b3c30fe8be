#include "editor/formPreview.h"

#include "editor/EditorHost.h"
#include "editor/formDesk.h"
#include "editor/framePreview.h"
#include "engine/Settings.h"
#include "engine/myselection.h"

#include <QHideEvent>
#include <QVBoxLayout>
#include <algorithm>

TfrmPreview::TfrmPreview(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QStringLiteral("Preview"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    preview1 = new Tpreview(this);
    layout->addWidget(preview1);
    resize(128, 93);
}

void TfrmPreview::ShowPreview(const TmyImagePal& image)
{
    glimt::IEditorHost* host = glimt::EditorHost();
    TfrmDesk* desk = host ? host->ActiveDesk() : nullptr;
    glimt::IToolEngine* tools = glimt::ToolEngine();
    const tmyselection* selection = tools ? tools->Selection() : nullptr;
    const TColor background = Options().PrevColor;
    if (desk && desk->ImgSel && desk->Image1 && selection && desk->ImgSel->isVisible()) {
        TmyImagePal copy(2, 2, 32);
        copy.Assign(image);
        const int zoom = std::max<int>(1, desk->Zoom);
        selection->StampInto((desk->ImgSel->x() - desk->Image1->x()) / zoom,
                             (desk->ImgSel->y() - desk->Image1->y()) / zoom, copy);
        preview1->Render(copy, background);
    } else {
        preview1->Render(image, background);
    }
}

void TfrmPreview::DrawPreviewPixel(int X, int Y, bool Blended, const TmyPixel& pixel)
{
    preview1->DrawPixel(X, Y, Blended, pixel);
}

void TfrmPreview::PaintCells(const TmyImagePal& image, const QRect& cells)
{
    const QRect r = cells & QRect(0, 0, image.Width(), image.Height());
    const bool blended = image.BitDepth >= 24;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            DrawPreviewPixel(x, y, blended, image.Pixel(x, y));
}

void TfrmPreview::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (isHidden() && OnHidden)
        OnHidden();
}

void TfrmPreview::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    preview1->CenterPreview();
}
