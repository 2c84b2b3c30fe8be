#pragma once
#include <QByteArray>
#include <QString>
#include <cstdint>

// What a file holds, told from its first 12 bytes whatever its name.
enum TImageFileType : std::uint8_t {
    iftIco = 0,
    iftCur = 1,
    iftAni = 2,
    iftBmp = 3,
    iftJpeg = 4,
    iftPng = 5,
    iftGif = 6,
    iftUnknown = 7,
};

// The road a file takes when opened: icon reader, picture importer, or the extract dialog.
enum TImageFileKind : std::uint8_t {
    ifkIcon = 0,
    ifkImage = 1,
    ifkOther = 2,
};

// Throws glimt::FileError when the file cannot be opened or is not a regular file (a FIFO, a
// folder, a device: it is refused at once, never waited for).
TImageFileType DetectImageFileType(const QString& fileName);
// The same test on bytes already read (only the first 12 are looked at; fewer are zero-filled).
TImageFileType DetectImageFileTypeOf(const QByteArray& head);
TImageFileKind ImageFileKind(const QString& fileName);
TImageFileKind ImageFileKindOf(TImageFileType type);

// The per-user application-data folder: $XDG_CONFIG_HOME when it is an absolute path, else
// ~/.config. Without either, `path` is left as it was.
void GetAppDataFolder(QString& path);

namespace glimt {
// The program's own folder inside the application-data folder ("Glimt"), where "config.cfg"
// and "colors.dat" live; "" when no application-data folder is known.
QString DataFolder();
} // namespace glimt
