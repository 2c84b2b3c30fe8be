#include "editor/ToolCursors.h"

#include <QGuiApplication>
#include <QPixmap>
#include <cmath>
#include <array>
#include <optional>

// Resources of a static library are registered by hand.
static void InitCursorResources()
{
    Q_INIT_RESOURCE(cursors);
}

namespace glimt {

namespace {

struct TCursorResource {
    const char* name;
    std::uint8_t index;
    int hotX, hotY;
    Qt::CursorShape fallback;
};

// In the order they are loaded.
constexpr TCursorResource kCursors[] = {
    {"ZOOM", 5, 10, 10, Qt::PointingHandCursor},
    {"PENCIL", 6, 0, 31, Qt::CrossCursor},
    {"BRUSH", 9, 0, 31, Qt::CrossCursor},
    {"PICK", 7, 0, 31, Qt::CrossCursor},
    {"FLOOD", 10, 3, 31, Qt::CrossCursor},
    {"SPRAY", 11, 4, 4, Qt::CrossCursor},
    {"ERASE", 8, 3, 27, Qt::CrossCursor},
    {"TEXT", 12, 15, 15, Qt::IBeamCursor},
    {"SELECT", 13, 7, 7, Qt::CrossCursor},
    {"CROP", 14, 7, 7, Qt::CrossCursor},
    {"LINE", 15, 7, 7, Qt::CrossCursor},
    {"RECT", 16, 7, 7, Qt::CrossCursor},
    {"ROUNDRECT", 17, 7, 7, Qt::CrossCursor},
    {"ELLIPSE", 18, 7, 7, Qt::CrossCursor},
    {"TRANS", 19, 7, 7, Qt::CrossCursor},
    {"BD", 20, 7, 7, Qt::CrossCursor},
    {"BS", 21, 7, 7, Qt::CrossCursor},
    {"GRAD", 22, 7, 7, Qt::CrossCursor},
    {"HAND1", 23, 15, 15, Qt::OpenHandCursor},
    {"HAND2", 24, 15, 15, Qt::ClosedHandCursor},
};

// By tool number - 1.
constexpr std::uint8_t kToolCursor[18] = {13, 14, 12, 8, 10, 11, 9, 6, 15, 16, 17, 18, 7, 5, 19, 22, 20, 21};

constexpr std::size_t kTableSize = 25;
std::array<std::optional<QCursor>, kTableSize>& Table()
{
    static std::array<std::optional<QCursor>, kTableSize> table;
    return table;
}
bool g_loaded = false;

} // namespace

QPixmap ToolCursorPicture(std::uint8_t index, qreal dpr)
{
    InitCursorResources();
    const TCursorResource* resource = nullptr;
    for (const TCursorResource& c : kCursors)
        if (c.index == index)
            resource = &c;
    if (!resource)
        return {};
    QPixmap picture(QStringLiteral(":/cursors/%1.png").arg(QString::fromLatin1(resource->name)));
    if (picture.isNull() || dpr <= 1.0)
        return picture;
    // Each pixel of the drawing becomes a block of whole screen pixels: as sharp as at scale 1.
    const QSize dense(int(std::lround(picture.width() * dpr)), int(std::lround(picture.height() * dpr)));
    picture = picture.scaled(dense, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    picture.setDevicePixelRatio(dpr);
    return picture;
}

void LoadToolCursors()
{
    const qreal dpr = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    // X11 takes a cursor's hot spot in screen pixels, not in the picture's logical ones.
    const qreal hotScale = QGuiApplication::platformName() == QLatin1String("xcb") ? dpr : 1.0;
    for (const TCursorResource& c : kCursors) {
        const QPixmap picture = ToolCursorPicture(c.index, dpr);
        if (!picture.isNull())
            Table()[c.index] = QCursor(picture, int(std::lround(c.hotX * hotScale)), int(std::lround(c.hotY * hotScale)));
    }
    g_loaded = true;
}

bool ToolCursorsLoaded()
{
    return g_loaded;
}

QCursor ScreenCursor(std::uint8_t index)
{
    if (index < kTableSize && Table()[index])
        return *Table()[index];
    for (const TCursorResource& c : kCursors)
        if (c.index == index)
            return QCursor(c.fallback);
    return QCursor(Qt::ArrowCursor);
}

std::uint8_t ToolCursorIndex(std::uint8_t tool)
{
    return tool >= 1 && tool <= 18 ? kToolCursor[tool - 1] : 0;
}

} // namespace glimt
