#include "shell/PictureExport.h"

#include "engine/myimport.h"

#include <QFileInfo>

namespace glimt {

namespace {

using Writer = void (*)(const QString&, const TmyImagePal&);

Writer WriterFor(const QString& path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("bmp"))
        return &TmyImport::ExportBmp;
    if (ext == QLatin1String("jpg"))
        return &TmyImport::ExportJpeg;
    if (ext == QLatin1String("png"))
        return &TmyImport::ExportPng;
    if (ext == QLatin1String("gif"))
        return &TmyImport::ExportGif;
    return nullptr;
}

} // namespace

QString ExportFilterExtension(int filterIndex)
{
    static const char* const extensions[] = {".bmp", ".jpg", ".png", ".gif"};
    return filterIndex >= 0 && filterIndex < 4 ? QString::fromLatin1(extensions[filterIndex]) : QString();
}

bool IsExportExtension(const QString& path)
{
    return WriterFor(path) != nullptr;
}

bool ExportPicture(const QString& path, const TmyImagePal& image)
{
    const Writer writer = WriterFor(path);
    if (!writer)
        return false;
    writer(path, image);
    return true;
}

} // namespace glimt
