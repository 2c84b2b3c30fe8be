#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

namespace glimt {

// What the desktop shell offers for any file that holds icons: how many it holds and a
// 32x32 picture of each. Executables and libraries (PE32, PE32+, NE) hold one icon per icon
// group, in the module's order; icon and cursor files hold one; animated cursors hold one per
// frame of their "fram" list.

// The number of icons of the file; 0 for a file that holds none or cannot be read.
int ShellIconCount(const QString& fileName);

// The image the shell draws for icon number `index` of the file, as an icon file of that one
// image: of the icon's images, the one nearest to 32x32 (a larger one before a smaller one at
// the same distance), then the deepest. Images whose data is missing or cut short are passed
// over, so an icon group that cannot be extracted whole may still give a picture. False when
// there is no such icon or none of its images is usable.
bool ShellIconImageFile(const QString& fileName, int index, QByteArray& ico);

// Icon number `index` drawn at 32x32 (ARGB32, straight alpha); a null image when there is no
// such icon or it cannot be decoded.
QImage ShellIcon32(const QString& fileName, int index);

} // namespace glimt
