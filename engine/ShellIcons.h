#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

class QFile;

#include <memory>
#include <vector>

namespace glimt {

class TExeIconFile;

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

// The same for one file read and parsed once, for callers that go through many icons of it
// (the thumbnail view lists every group of a library).
class TShellIcons {
public:
    // False when the file cannot be read; a file that holds no icons loads with Count() 0.
    bool Load(const QString& fileName);
    void LoadBytes(const QByteArray& bytes);

    int Count() const;
    bool ImageFile(int index, QByteArray& ico) const;
    QImage Icon32(int index) const;
    // The module's icon groups when the file is an executable or library, else null.
    const TExeIconFile* Module() const { return m_module.get(); }

private:
    // A large file is mapped rather than read: listing a library touches only its resource
    // tables and the few images drawn. Declared first, so that it outlives the bytes over it.
    std::shared_ptr<QFile> m_mapped;
    std::shared_ptr<const TExeIconFile> m_module;
    std::vector<QByteArray> m_icons; // icon or cursor files: the file itself, or the frames
};

} // namespace glimt
