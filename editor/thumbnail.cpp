#include "editor/thumbnail.h"

#include "engine/Errors.h"
#include "engine/GifCodec.h"
#include "engine/GifFrames.h"
#include "engine/MyIcoIO.h"
#include "engine/ShellIcons.h"
#include "engine/myextract.h"
#include "engine/MyIcon.h"
#include "engine/Mypreview.h"
#include "engine/TypeCheck.h"
#include "engine/language.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QDrag>
#include <QImageReader>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QTimer>
#include <QDropEvent>
#include <QMouseEvent>
#include <QRubberBand>
#include <QScrollBar>
#include <QStatusBar>
#include <QWheelEvent>

namespace {

// Overlapping or sharing an edge.
bool RectsTouch(const QRect& a, const QRect& b)
{
    return a.left() <= b.right() + 1 && b.left() <= a.right() + 1 && a.top() <= b.bottom() + 1 && b.top() <= a.bottom() + 1;
}

// The widget that holds the tiles; the view forwards its mouse events to the empty-space handlers.
class TileArea : public QWidget {
public:
    using QWidget::QWidget;
};

} // namespace

namespace glimt {

std::vector<TListedIcon> ListExeIcons(const QString& fileName)
{
    TShellIcons shell;
    if (!shell.Load(fileName))
        return {};
    return ListExeIcons(shell);
}

std::vector<TListedIcon> ListExeIcons(const TShellIcons& shell)
{
    std::vector<TListedIcon> listed;
    const TExeIconFile* module = shell.Module();
    for (int i = 0; i < shell.Count(); ++i) {
        const int images = module ? module->ImageCount(module->FindGroup(QString::number(i))) : -1;
        if (images != 0)
            listed.push_back({i, images});
    }
    return listed;
}

QString ImageTileCaption(const TmyImagePal& image)
{
    static const char* const suffix[] = {" - 2", " - 16", " - 256", " - True", " - XP"};
    const int depths[] = {1, 4, 8, 24, 32};
    QString caption = QString::number(image.Width()) + QLatin1Char('x') + QString::number(image.Height());
    for (int i = 0; i < 5; ++i)
        if (depths[i] == image.BitDepth)
            caption += QLatin1String(suffix[i]);
    return caption;
}

} // namespace glimt

// The modifiers of the mouse event being handled, for the lifetime of one handler.
class EventModifiers {
public:
    EventModifiers(TThumbail& view, Qt::KeyboardModifiers mods) : m_view(view)
    {
        m_view.m_eventMods = mods;
        m_view.m_inMouseEvent = true;
    }
    ~EventModifiers() { m_view.m_inMouseEvent = false; }
    EventModifiers(const EventModifiers&) = delete;
    EventModifiers& operator=(const EventModifiers&) = delete;

private:
    TThumbail& m_view;
};

bool TThumbail::ShiftHeld() const
{
    return m_inMouseEvent ? m_eventMods.testFlag(Qt::ShiftModifier) : IsShiftDown();
}

bool TThumbail::CtrlHeld() const
{
    return m_inMouseEvent ? m_eventMods.testFlag(Qt::ControlModifier) : IsCtrlDown();
}

TThumbail::TThumbail(QWidget* parent)
    : QScrollArea(parent)
{
    setBackgroundRole(QPalette::Base);
    setWidgetResizable(false);
    auto* area = new TileArea;
    area->setObjectName(QStringLiteral("Tiles"));
    area->setAutoFillBackground(false);
    area->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    setWidget(area);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setSingleStep(50);
    setFocusPolicy(Qt::StrongFocus);
    RubberBand = new QRubberBand(QRubberBand::Rectangle, area);
    RubberBand->hide();
    LastSize = size();
}

TThumbail::~TThumbail()
{
    delete RubberBand;
    RubberBand = nullptr;
    ClearItems();
}

void TThumbail::SetThumbnailSize(int size)
{
    m_thumbnailSize = size;
    for (TThumbnailItem* item : Items)
        item->SetThumbnailSize(size);
    FitTilesToCaptions();
}

void TThumbail::SetShowCaption(bool show)
{
    m_showCaption = show;
    for (TThumbnailItem* item : Items)
        item->SetShowCaption(show);
    FitTilesToCaptions();
}

int TThumbail::TileWidth() const
{
    int width = m_thumbnailSize;
    if (!m_showCaption)
        return width;
    for (const TThumbnailItem* item : Items)
        if (item->FileName.isEmpty() && !item->Caption.isEmpty())
            width = std::max(width, item->fontMetrics().horizontalAdvance(item->Caption) + 6);
    return width;
}

void TThumbail::FitTilesToCaptions()
{
    const int width = TileWidth();
    for (TThumbnailItem* item : Items)
        item->SetMinWidth(width);
    LayoutItems();
}

void TThumbail::changeEvent(QEvent* event)
{
    QScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        FitTilesToCaptions();
}

void TThumbail::SetEnabled(bool enabled)
{
    setEnabled(enabled);
    setBackgroundRole(enabled ? QPalette::Base : QPalette::Window);
    for (TThumbnailItem* item : Items)
        item->SetEnabled(enabled);
}

TThumbnailItem* TThumbail::AddItem()
{
    auto* item = new TThumbnailItem(widget(), m_thumbnailSize, Count());
    Items.push_back(item);
    item->SetShowCaption(m_showCaption);
    connect(item, &TThumbnailItem::MouseDown, this, &TThumbail::ItemMouseDown);
    connect(item, &TThumbnailItem::MouseMove, this, &TThumbail::ItemMouseMove);
    connect(item, &TThumbnailItem::MouseUp, this, &TThumbail::ItemMouseUp);
    connect(item, &TThumbnailItem::DblClick, this, &TThumbail::ItemDblClick);
    UpdateContentHeight();
    item->UpdatePosition();
    item->show();
    return item;
}

void TThumbail::ClearItems()
{
    LayoutEnabled = false;
    for (TThumbnailItem* item : Items)
        delete item;
    Items.clear();
    SelectedIndices.clear();
    LayoutEnabled = true;
    UpdateContentHeight();
}

void TThumbail::SelectIndex(int i)
{
    if (SelectionMode == TSelectMode::smNone)
        return;
    if (SelectionMode == TSelectMode::smSingle)
        ClearSelection();
    SelectItem(i);
}

void TThumbail::SetStatusText(const QString& text)
{
    if (!StatusBar)
        return;
    StatusBar->showMessage(text);
    StatusBar->repaint();
}

void TThumbail::ShowSelectionStatus()
{
    const int n = SelectedCount();
    if (n > 0)
        SetStatusText(glimt::MsgI("msgSelectedObject", "%i1 selected objects", n));
    else
        SetStatusText(glimt::MsgI("msgObject", "%i1 objects", Count()));
}

void TThumbail::BeginLoad()
{
    Busy = true;
    setCursor(Qt::WaitCursor);
}

void TThumbail::EndLoad()
{
    Busy = false;
    unsetCursor();
}

namespace {

// Busy from construction to destruction, so that an error leaving a loader ends it too.
class LoadGuard {
public:
    explicit LoadGuard(TThumbail& view) : m_view(view) { m_view.BeginLoad(); }
    ~LoadGuard() { m_view.EndLoad(); }
    LoadGuard(const LoadGuard&) = delete;
    LoadGuard& operator=(const LoadGuard&) = delete;

private:
    TThumbail& m_view;
};

} // namespace

namespace {

QString Progress(const QString& format, int i1, int i2)
{
    return glimt::ReplaceOnce(glimt::ReplaceOnce(format, QStringLiteral("%i1"), QString::number(i1)), QStringLiteral("%i2"),
        QString::number(i2));
}

QImage OverWhite(const TmyImagePal& image)
{
    QImage picture;
    TmyPreview::RenderToImage(image, picture, 0xFFFFFF);
    return picture;
}

// A picture whose pixels are opaque or fully transparent, shown over white.
QImage OverWhite(const TmyImage& image)
{
    QImage picture(image.Width(), image.Height(), QImage::Format_RGB32);
    for (int y = 0; y < image.Height(); ++y) {
        const TmyPixel* src = image.Row(y);
        auto* out = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < image.Width(); ++x)
            out[x] = src[x].A == 0 ? qRgb(255, 255, 255) : qRgb(src[x].R, src[x].G, src[x].B);
    }
    return picture;
}

// The picture the shell shows for icon `index` of a file: its image nearest to 32x32, drawn at
// 32x32 with its alpha. A null picture when there is none.
QImage ShellPicture(const glimt::TShellIcons& shell, int index)
{
    QByteArray ico;
    std::unique_ptr<TmyIcon> icon;
    if (!shell.ImageFile(index, ico) || !TmyIcoIO(false).LoadFromBytes(icon, ico) || !icon || icon->Count() == 0)
        return QImage();
    const QImage picture = icon->Image(0).ToQImage();
    return picture.size() == QSize(32, 32) ? picture : picture.scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

void TThumbail::LoadIconImages(const TmyIcon& icon)
{
    if (Busy)
        return;
    const QString progress = glimt::Msg("msgReadObject", "Reading object %i1 from %i2");
    {
        LoadGuard busy(*this);
        ClearItems();
        for (int i = 0; i < icon.Count(); ++i) {
            const TmyImagePal& image = icon.Image(i);
            TThumbnailItem* tile = AddItem();
            tile->SetGraphic(OverWhite(image));
            tile->SetCaption(glimt::ImageTileCaption(image));
            tile->update();
            SetStatusText(Progress(progress, i + 1, icon.Count()));
        }
        FitTilesToCaptions();
    }
    SetStatusText(glimt::MsgI("msgObject", "%i1 objects", icon.Count()));
}

void TThumbail::LoadExeIcons(const QString& fileName)
{
    if (Busy)
        return;
    const QString progress = glimt::Msg("msgReadObject", "Reading object %i1 from %i2");
    // The file is read and parsed once for the whole listing.
    glimt::TShellIcons shell;
    shell.Load(fileName);
    const int n = shell.Count();
    m_listedIcons = glimt::ListExeIcons(shell);
    {
        LoadGuard busy(*this);
        ClearItems();
        int k = 0;
        for (const glimt::TListedIcon& icon : m_listedIcons) {
            TThumbnailItem* tile = AddItem();
            tile->SetGraphic(ShellPicture(shell, icon.Index));
            ++k;
            QString caption = glimt::MsgI("msgIcon", "Icon %i1", k);
            if (icon.Images != -1)
                caption += QStringLiteral(" (") + QString::number(icon.Images) + QLatin1Char(')');
            tile->SetCaption(caption);
            SetStatusText(Progress(progress, k, n));
        }
        FitTilesToCaptions();
    }
    SetStatusText(glimt::MsgI("msgObject", "%i1 objects", n));
}

void TThumbail::LoadGifFrames(const QString& fileName, bool overImpose)
{
    if (Busy)
        return;
    try {
        if (DetectImageFileType(fileName) != iftGif)
            return;
    } catch (const std::exception&) {
        return;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw glimt::FileError(QStringLiteral("Cannot open file \"%1\": %2").arg(fileName, file.errorString()), fileName);
    const QByteArray bytes = file.readAll();
    const glimt::GifPicture gif = glimt::DecodeGif(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
    QCoreApplication::processEvents();
    LoadGifFrames(gif, overImpose);
}

void TThumbail::LoadGifFrames(const glimt::GifPicture& gif, bool overImpose)
{
    if (Busy)
        return;
    const QString progress = glimt::Msg("msgReadObject", "Reading object %i1 from %i2");
    const int frames = int(gif.Frames.size());
    {
        LoadGuard busy(*this);
        ClearItems();
        // The frames are played onto a picture twice the tile's size (the tile smooths it
        // down), not onto the whole logical screen: a tile costs what it shows.
        const glimt::GifSampling sampling = glimt::GifSampling::Fitting(gif, 2 * std::max(1, m_thumbnailSize - 10));
        glimt::ForEachGifFrame(gif, overImpose, sampling, [&](int i, const TmyImage& picture) {
            TThumbnailItem* tile = AddItem();
            tile->SetGraphic(OverWhite(picture), gif.ScreenWidth, gif.ScreenHeight);
            tile->SetCaption(glimt::MsgI("msgFrame", "Frame %i1", i + 1));
            tile->update();
            SetStatusText(Progress(progress, i + 1, frames));
        });
        FitTilesToCaptions();
    }
    SetStatusText(glimt::MsgI("msgObject", "%i1 objects", frames));
}

void TThumbail::LoadFolder(const QString& folder)
{
    if (Busy)
        return;
    ClearSelection();
    int tiles = 0;
    {
        LoadGuard busy(*this);
        ClearItems();
        // Escape stops this listing, not one from before it.
        glimt::KeyState().ForgetEscapeTap();
        const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files, QDir::Name);
        for (const QFileInfo& entry : entries) {
            if (IsEscDown())
                break;
            TImageFileType type = iftUnknown;
            try {
                type = DetectImageFileType(entry.absoluteFilePath());
            } catch (const std::exception&) {
                type = iftUnknown;
            }
            if (type == iftIco || type == iftBmp || type == iftJpeg || type == iftPng || type == iftGif) {
                TThumbnailItem* tile = AddItem();
                tile->SetFileName(entry.absoluteFilePath());
                ++tiles;
                if (type == iftIco) {
                    // An icon the reader refuses leaves a blank tile with its file name.
                    std::unique_ptr<TmyIcon> icon;
                    if (TmyIcoIO(false).LoadFromFile(icon, entry.absoluteFilePath()) && icon && icon->Count() > 0)
                        tile->SetGraphic(OverWhite(icon->Image(0)));
                    tile->update();
                    SetStatusText(glimt::Msg("msgSearch", "Searching image files... Press Esc to stop"));
                    QCoreApplication::processEvents();
                    continue;
                }
                QImageReader reader(entry.absoluteFilePath());
                const QSize full = reader.size();
                if (full.isValid() && m_thumbnailSize > 0) {
                    // Large pictures are decoded at a reduced scale before they are fitted.
                    const int r = std::max(full.width(), full.height()) / m_thumbnailSize;
                    const int factor = r >= 8 ? 8 : r > 4 ? 4 : r >= 2 ? 2 : 1;
                    if (factor > 1)
                        reader.setScaledSize(QSize(std::max(1, full.width() / factor), std::max(1, full.height() / factor)));
                }
                const QImage picture = reader.read();
                if (!picture.isNull())
                    tile->SetGraphic(picture, full.width(), full.height());
                tile->update();
            }
            SetStatusText(glimt::Msg("msgSearch", "Searching image files... Press Esc to stop"));
            QCoreApplication::processEvents();
        }
    }
    SetStatusText(glimt::MsgI("msgObject", "%i1 objects", tiles));
}

int TThumbail::SelectionPos(int i) const
{
    for (std::size_t k = 0; k < SelectedIndices.size(); ++k)
        if (SelectedIndices[k] == i)
            return int(k);
    return -1;
}

int TThumbail::SelectedCount() const
{
    int n = 0;
    for (const TThumbnailItem* item : Items)
        n += item->Selected ? 1 : 0;
    return n;
}

void TThumbail::SelectItem(int i)
{
    if (i < 0 || i >= Count() || IsSelected(i))
        return;
    Items[std::size_t(i)]->Selected = true;
    Items[std::size_t(i)]->update();
    if (!ShiftHeld())
        AnchorIndex = i;
    SelectedIndices.push_back(i);
}

void TThumbail::DeselectItem(int i)
{
    const int pos = SelectionPos(i);
    if (pos < 0)
        return;
    Items[std::size_t(i)]->Selected = false;
    Items[std::size_t(i)]->update();
    SelectedIndices.erase(SelectedIndices.begin() + pos);
}

void TThumbail::ToggleItem(int i)
{
    if (IsSelected(i))
        DeselectItem(i);
    else
        SelectItem(i);
}

void TThumbail::ClearSelection()
{
    for (int i : SelectedIndices) {
        if (i >= 0 && i < Count()) {
            Items[std::size_t(i)]->Selected = false;
            Items[std::size_t(i)]->update();
        }
    }
    SelectedIndices.clear();
}

void TThumbail::RebuildSelection()
{
    SelectedIndices.clear();
    for (int i = 0; i < Count(); ++i)
        if (Items[std::size_t(i)]->Selected)
            SelectedIndices.push_back(i);
}

void TThumbail::LayoutItems()
{
    if (!LayoutEnabled)
        return;
    for (TThumbnailItem* item : Items)
        item->UpdatePosition();
    UpdateContentHeight();
}

void TThumbail::UpdateContentHeight()
{
    QWidget* area = widget();
    if (!area)
        return;
    int bottom = 0;
    for (const TThumbnailItem* item : Items)
        bottom = std::max(bottom, item->geometry().bottom() + 1);
    area->resize(viewport()->width(), std::max(bottom + 5, viewport()->height()));
}

void TThumbail::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    if (LayoutEnabled && size() != LastSize) {
        LastSize = size();
        LayoutItems();
    }
    UpdateContentHeight();
}

void TThumbail::scrollContentsBy(int dx, int dy)
{
    QScrollArea::scrollContentsBy(dx, dy);
}

// --- mouse on a tile ---------------------------------------------------------------------

void TThumbail::ItemMouseDown(TThumbnailItem* item, Qt::MouseButton button, Qt::KeyboardModifiers mods, int x, int y)
{
    const EventModifiers held(*this, mods);
    MouseIsDown = true;
    if (Busy || button != Qt::LeftButton)
        return;
    DownPos = QPoint(x, y);
    const int index = item->Index;
    switch (SelectionMode) {
    case TSelectMode::smNone:
        return;
    case TSelectMode::smSingle:
        ClearSelection();
        SelectItem(index);
        break;
    case TSelectMode::smMultiple:
        if (!CtrlHeld() && !IsSelected(index))
            ClearSelection();
        if (ShiftHeld()) {
            if (index > AnchorIndex)
                for (int i = AnchorIndex; i <= index; ++i)
                    SelectItem(i);
            else
                for (int i = AnchorIndex; i >= index; --i)
                    SelectItem(i);
        } else if (CtrlHeld() || !IsSelected(index)) {
            ToggleItem(index);
        }
        break;
    }
    ShowSelectionStatus();
    setFocus();
}

void TThumbail::ItemMouseMove(TThumbnailItem* item, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods, int x, int y)
{
    const EventModifiers held(*this, mods);
    if (!MouseIsDown || Busy || SelectionMode == TSelectMode::smNone || !buttons.testFlag(Qt::LeftButton))
        return;
    const bool far = DownPos.x() + 5 < x || x < DownPos.x() - 5 || DownPos.y() + 5 < y || y < DownPos.y() - 5;
    if (!far || !item->Selected || !CanDrag)
        return;
    MouseIsDown = false;
    emit OnStartDrag(this);
    auto* drag = new QDrag(this);
    drag->setMimeData(new TThumbnailDragData(this));
    drag->exec(Qt::CopyAction);
}

void TThumbail::ItemMouseUp(TThumbnailItem* item, Qt::MouseButton button, Qt::KeyboardModifiers mods, int, int)
{
    const EventModifiers held(*this, mods);
    if (!MouseIsDown || Busy || SelectionMode == TSelectMode::smNone)
        return;
    MouseIsDown = false;
    if (button == Qt::LeftButton) {
        emit OnItemClicked(this);
        // The click collapses a multiple selection to this tile after the event has fired.
        if (SelectionMode == TSelectMode::smMultiple && !CtrlHeld() && !ShiftHeld()) {
            ClearSelection();
            ToggleItem(item->Index);
        }
    } else if (button == Qt::RightButton) {
        PopupAtCursor();
    }
}

void TThumbail::ItemDblClick(TThumbnailItem*)
{
    emit OnItemDblClicked(this);
}

void TThumbail::PopupAtCursor()
{
    if (PopupMenu)
        PopupMenu->popup(QCursor::pos());
}

// --- mouse on empty space -------------------------------------------------------------------

void TThumbail::mousePressEvent(QMouseEvent* event)
{
    const EventModifiers held(*this, event->modifiers());
    setFocus();
    if (Items.empty())
        return;
    MouseIsDown = true;
    // The wheel rests until the button comes up, so that it cannot scroll a band away.
    m_wheelDetached = true;
    if (Busy || event->button() != Qt::LeftButton)
        return;
    ScrollLimit = verticalScrollBar()->maximum();
    switch (SelectionMode) {
    case TSelectMode::smNone:
        return;
    case TSelectMode::smSingle:
        if (!AlwaysSelected)
            ClearSelection();
        return;
    case TSelectMode::smMultiple:
        if (!CtrlHeld() && !ShiftHeld() && !AlwaysSelected)
            ClearSelection();
        BandStart = widget()->mapFrom(this, event->position().toPoint());
        RubberBand->setGeometry(QRect(BandStart, QSize(0, 0)));
        RubberBand->raise();
        RubberBand->show();
        ShowSelectionStatus();
        return;
    }
}

void TThumbail::mouseMoveEvent(QMouseEvent* event)
{
    const EventModifiers held(*this, event->modifiers());
    if (!MouseIsDown || Busy || SelectionMode != TSelectMode::smMultiple || !event->buttons().testFlag(Qt::LeftButton))
        return;
    QPoint p = viewport()->mapFrom(this, event->position().toPoint());
    p.setX(std::clamp(p.x(), 0, viewport()->width() - 1));
    QScrollBar* bar = verticalScrollBar();
    if (p.y() < 0) {
        bar->setValue(bar->value() + p.y());
        p.setY(0);
    } else if (p.y() >= viewport()->height()) {
        bar->setValue(std::min(ScrollLimit, bar->value() + p.y() - viewport()->height() + 1));
        p.setY(viewport()->height() - 1);
    }
    const QPoint cursor = widget()->mapFrom(viewport(), p);
    const QRect band = QRect(BandStart, cursor).normalized();
    RubberBand->setGeometry(band);
    const bool ctrl = CtrlHeld();
    for (int i = 0; i < Count(); ++i) {
        TThumbnailItem* tile = Items[std::size_t(i)];
        const bool committed = IsSelected(i);
        const bool flag = RectsTouch(tile->geometry(), band) ? (ctrl ? !committed : true) : committed;
        if (tile->Selected != flag) {
            tile->Selected = flag;
            tile->update();
        }
    }
    ShowSelectionStatus();
}

void TThumbail::mouseReleaseEvent(QMouseEvent* event)
{
    const EventModifiers held(*this, event->modifiers());
    emit OnClick(this);
    if (!MouseIsDown)
        return;
    m_wheelDetached = false;
    MouseIsDown = false;
    if (Busy)
        return;
    if (event->button() == Qt::LeftButton) {
        if (SelectionMode == TSelectMode::smMultiple) {
            RubberBand->hide();
            RebuildSelection();
            emit OnItemClicked(this);
            ShowSelectionStatus();
        }
    } else if (event->button() == Qt::RightButton) {
        PopupAtCursor();
    }
}

void TThumbail::wheelEvent(QWheelEvent* event)
{
    event->accept();
    if (m_wheelDetached)
        return;
    // One line of 50 pixels a notch (the scroll bar's own wheel handling would move several
    // lines); fine-grained wheels send parts of a notch.
    m_wheelAngle += event->angleDelta().y();
    const int notches = m_wheelAngle / 120;
    m_wheelAngle -= notches * 120;
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() - notches * bar->singleStep());
}

TThumbnailDragData::TThumbnailDragData(TThumbail* view)
    : View(view)
{
    setData(QStringLiteral("application/x-glimt-thumbnails"), QByteArray());
}

TThumbail* TThumbnailDragData::DraggedView(const QMimeData* data)
{
    const auto* own = qobject_cast<const TThumbnailDragData*>(data);
    return own ? own->View.data() : nullptr;
}

bool TThumbnailDragData::ServeDragEvent(QEvent* event, QObject* context, const std::function<bool(QPoint)>& takesAt,
                                        const std::function<void(TThumbail&)>& dropped)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto* drop = static_cast<QDropEvent*>(event);
    const QPointer<TThumbail> view = DraggedView(drop->mimeData());
    if (!view || !takesAt(drop->position().toPoint()))
        return false;
    drop->acceptProposedAction();
    if (type == QEvent::Drop) {
        QTimer::singleShot(0, context, [view, dropped] {
            if (view)
                dropped(*view);
        });
    }
    return true;
}
