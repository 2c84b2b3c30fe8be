#include "engine/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace glimt {

bool QtClipboard::HasBitmap() const
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasImage();
}

QImage QtClipboard::Bitmap() const
{
    return QGuiApplication::clipboard()->image();
}

void QtClipboard::SetBitmap(const QImage& bitmap)
{
    QGuiApplication::clipboard()->setImage(bitmap.convertToFormat(QImage::Format_RGB32));
}

} // namespace glimt
