// Loading and saving of palette files: RIFF palettes (".pal") and 256-entry colour tables
// (".act").
#include "engine/ByteReader.h"
#include "engine/Errors.h"
#include "engine/MyPalette.h"
#include "engine/Prompts.h"
#include "engine/SafeFile.h"
#include "engine/language.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

constexpr int kRiffHeaderSize = 24;
constexpr qint64 kActSize = 768;
constexpr qint64 kActSizeWithCount = 772;

// The extension with its dot, in lower case; "" when the name has none.
QString LowerExtension(const QString& fileName)
{
    const QString name = QFileInfo(fileName).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot).toLower();
}

void OpenForReading(QFile& f)
{
    glimt::OpenRegularFileForReading(f, f.fileName());
}

QByteArray ReadUpTo(QFile& f, qint64 n)
{
    QByteArray bytes = f.read(n);
    if (f.error() != QFileDevice::NoError)
        throw glimt::FileError(QStringLiteral("Cannot read file \"%1\": %2").arg(f.fileName(), f.errorString()), f.fileName());
    return bytes;
}

void InvalidPalette()
{
    glimt::Prompts().Message(glimt::TMsgKind::Warning, glimt::Msg("msgInvalidPal", "Invalid palette file!"));
}

} // namespace

qint64 FileSizeOf(const QString& fileName)
{
    QFile f(fileName);
    OpenForReading(f);
    return f.size();
}

void TmyPalette::LoadFromFile(const QString& fileName)
{
    const QString ext = LowerExtension(fileName);
    if (ext == QLatin1String(".pal"))
        LoadRiffPalette(fileName);
    else if (ext == QLatin1String(".act"))
        LoadActPalette(fileName);
    else
        glimt::Prompts().Message(glimt::TMsgKind::Warning, glimt::MsgS("msgBadExt", "Unknown file extension: %s1", ext));
}

void TmyPalette::SaveToFile(const QString& fileName) const
{
    if (QFileInfo::exists(fileName)
        && !glimt::Prompts().Confirm(
            glimt::MsgS("msgAlredyExists", "%s1 already exists! Overwrite?", QFileInfo(fileName).fileName())))
        return;
    const QString ext = LowerExtension(fileName);
    if (ext == QLatin1String(".pal"))
        SaveRiffPalette(fileName);
    else if (ext == QLatin1String(".act"))
        SaveActPalette(fileName);
    else
        glimt::Prompts().Message(glimt::TMsgKind::Warning, glimt::MsgS("msgBadExt", "Unknown file extension: %s1", ext));
}

void TmyPalette::LoadRiffPalette(const QString& fileName)
{
    QFile f(fileName);
    OpenForReading(f);
    const QByteArray header = ReadUpTo(f, kRiffHeaderSize);
    glimt::ByteReader r(header);
    char riff[4] = {}, pal[4] = {}, data[4] = {};
    r.Read(riff, 4);
    r.Skip(4);
    r.Read(pal, 4);
    r.Read(data, 4);
    r.Skip(6);
    const int declared = r.U16();
    if (!r.Ok() || std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(pal, "PAL ", 4) != 0
        || std::memcmp(data, "data", 4) != 0) {
        InvalidPalette();
        return;
    }
    // Every declared entry must be present: a file cut short is refused before anything is
    // shown or changed.
    const QByteArray entries = ReadUpTo(f, qint64(declared) * 4);
    if (entries.size() != qint64(declared) * 4) {
        InvalidPalette();
        return;
    }

    int n = declared;
    if (n > Count()) {
        n = Count();
        glimt::Prompts().Message(glimt::TMsgKind::Information,
                                 glimt::MsgI("msgManyColors", "%i1 colors read, rest of the palette was ignored.", n));
    } else if (n < Count()) {
        glimt::Prompts().Message(glimt::TMsgKind::Information,
                                 glimt::MsgI("msgFewColors", "The palette was containing only %i1 colors.", n));
    }
    const auto* p = reinterpret_cast<const std::uint8_t*>(entries.constData());
    for (int i = 0; i < n; ++i)
        Colors[std::size_t(i)].SetRGB(p[4 * i], p[4 * i + 1], p[4 * i + 2]);
}

void TmyPalette::LoadActPalette(const QString& fileName)
{
    QFile f(fileName);
    OpenForReading(f);
    const qint64 size = f.size();
    if (size != kActSize && size != kActSizeWithCount) {
        InvalidPalette();
        return;
    }
    const QByteArray table = ReadUpTo(f, kActSize);
    if (table.size() != kActSize) {
        InvalidPalette();
        return;
    }
    int n = 256;
    if (Count() < 256) {
        n = Count();
        glimt::Prompts().Message(glimt::TMsgKind::Information,
                                 glimt::MsgI("msgManyColors", "%i1 colors read, rest of the palette was ignored.", n));
    }
    const auto* p = reinterpret_cast<const std::uint8_t*>(table.constData());
    for (int i = 0; i < n; ++i)
        Colors[std::size_t(i)].SetRGB(p[3 * i], p[3 * i + 1], p[3 * i + 2]);
}

void TmyPalette::SaveRiffPalette(const QString& fileName) const
{
    // The count field holds 16 bits; the system makes no palette near that size.
    const int n = std::min(Count(), 0xFFFF);
    glimt::ByteWriter w;
    w.Reserve(kRiffHeaderSize + 4 * n);
    w.Raw("RIFF", 4);
    w.U32(std::uint32_t(4 * n + 16));
    w.Raw("PAL ", 4);
    w.Raw("data", 4);
    w.U32(std::uint32_t(4 * n + 4));
    w.U16(0x0300);
    w.U16(std::uint16_t(n));
    for (int i = 0; i < n; ++i) {
        const TmyPixel& c = Colors[std::size_t(i)];
        w.U8(c.R);
        w.U8(c.G);
        w.U8(c.B);
        w.U8(0);
    }
    glimt::WriteFileAtomically(fileName, w.Bytes());
}

void TmyPalette::SaveActPalette(const QString& fileName) const
{
    const int n = std::min(Count(), 256);
    glimt::ByteWriter w;
    w.Reserve(kActSize);
    for (int i = 0; i < n; ++i) {
        const TmyPixel& c = Colors[std::size_t(i)];
        w.U8(c.R);
        w.U8(c.G);
        w.U8(c.B);
    }
    for (int i = n; i < 256; ++i) {
        w.U8(255);
        w.U8(255);
        w.U8(255);
    }
    glimt::WriteFileAtomically(fileName, w.Bytes());
}
