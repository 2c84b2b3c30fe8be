#pragma once
#include <QString>

class TmyImagePal;

namespace glimt {

// The extension of a picture filter of the export dialog: 0 ".bmp", 1 ".jpg", 2 ".png",
// 3 ".gif"; "" for any other index.
QString ExportFilterExtension(int filterIndex);

// Whether `path`'s lower-cased extension names a picture format the exporters write (".bmp",
// ".jpg", ".png", ".gif"; not ".jpeg").
bool IsExportExtension(const QString& path);

// Writes the image as the picture format of `path`'s extension. False, writing nothing, for an
// extension IsExportExtension refuses; a failed write throws (the old file is kept).
bool ExportPicture(const QString& path, const TmyImagePal& image);

} // namespace glimt
