#include "engine/ShellIcons.h"

#include "engine/AniCursor.h"
#include "engine/ByteReader.h"
#include "engine/Errors.h"
#include "engine/MyIcoIO.h"
#include "engine/SafeFile.h"
#include "engine/TypeCheck.h"
#include "engine/myextract.h"

#include <QFile>

#include <cstdlib>
#include <limits>
#include <exception>
#include <memory>
#include <vector>

namespace glimt {

namespace {

// One image an icon offers, as far as choosing it goes.
struct Candidate {
    int width = 0;
    int height = 0;
    std::int64_t depth = 0; // planes x bits, which may hold anything in a hostile file
};

// The candidate drawn at 32x32: nearest in size, a larger before a smaller one, the deepest;
// the first of equals. -1 for none.
int Best(const std::vector<Candidate>& candidates)
{
    int best = -1;
    for (int i = 0; i < int(candidates.size()); ++i) {
        const Candidate& c = candidates[std::size_t(i)];
        if (best < 0) {
            best = i;
            continue;
        }
        const Candidate& b = candidates[std::size_t(best)];
        const int dc = std::abs(c.width - 32) + std::abs(c.height - 32);
        const int db = std::abs(b.width - 32) + std::abs(b.height - 32);
        if (dc != db) {
            if (dc < db)
                best = i;
        } else if (c.width + c.height != b.width + b.height) {
            if (c.width + c.height > b.width + b.height)
                best = i;
        } else if (c.depth > b.depth) {
            best = i;
        }
    }
    return best;
}

// The depth an image's data shows: planes x bits of a bitmap header, 32 for anything else.
std::int64_t DataDepth(const std::uint8_t* data, std::uint64_t size)
{
    ByteReader r(data, std::size_t(size));
    if (r.U32() != 40)
        return 32;
    r.Skip(8);
    const std::int64_t planes = r.U16();
    const std::int64_t bits = r.U16();
    return r.Ok() ? planes * bits : 32;
}

// The directory entries of an icon or cursor file whose data lies inside the file.
struct IconFileEntry {
    std::uint8_t raw[16];
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
};

bool ReadIconDirectory(const QByteArray& bytes, std::uint16_t& type, std::vector<IconFileEntry>& entries)
{
    entries.clear();
    ByteReader r(bytes);
    const std::uint16_t reserved = r.U16();
    type = r.U16();
    const std::uint64_t count = r.U16();
    if (!r.Ok() || reserved != 0 || (type != 1 && type != 2) || !r.Has(count * 16))
        return false;
    for (std::uint64_t i = 0; i < count; ++i) {
        IconFileEntry e;
        r.Read(e.raw, 16);
        ByteReader f(e.raw, 16);
        f.Skip(8);
        e.size = f.U32();
        e.offset = f.U32();
        if (e.size > 0 && r.InRange(e.offset, e.size))
            entries.push_back(e);
    }
    return true;
}

// The one image of an icon or cursor file the shell would draw, as an icon file of its own.
bool BestOfIconFile(const QByteArray& bytes, QByteArray& ico)
{
    std::uint16_t type = 0;
    std::vector<IconFileEntry> entries;
    if (!ReadIconDirectory(bytes, type, entries))
        return false;
    std::vector<Candidate> candidates;
    for (const IconFileEntry& e : entries) {
        const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData()) + e.offset;
        candidates.push_back({e.raw[0] ? e.raw[0] : 256, e.raw[1] ? e.raw[1] : 256, DataDepth(data, e.size)});
    }
    const int best = Best(candidates);
    if (best < 0)
        return false;
    const IconFileEntry& e = entries[std::size_t(best)];
    ByteWriter w;
    w.U16(0);
    w.U16(type);
    w.U16(1);
    w.Raw(e.raw, 12);
    w.U32(22);
    w.Raw(bytes.constData() + e.offset, qsizetype(e.size));
    ico = w.Bytes();
    return true;
}

bool BestOfGroup(const TExeIconFile& module, int group, QByteArray& ico)
{
    std::vector<TGroupIconEntry> entries;
    if (!module.GroupEntries(group, entries))
        return false;
    // The images are told apart by their headers; only the chosen one is copied whole.
    std::vector<const TGroupIconEntry*> usable;
    std::vector<Candidate> candidates;
    for (const TGroupIconEntry& entry : entries) {
        TGroupImage image;
        if (!module.GroupImage(entry, image, true))
            continue;
        const std::int64_t depth = image.IsPng ? std::int64_t(entry.Planes) * entry.BitCount : image.BitCount;
        candidates.push_back({entry.Width ? entry.Width : 256, entry.Height ? entry.Height : 256, depth});
        usable.push_back(&entry);
    }
    const int best = Best(candidates);
    TGroupImage chosen;
    return best >= 0 && module.GroupImage(*usable[std::size_t(best)], chosen) && WriteIconFile({chosen}, ico);
}

bool ReadFile(const QString& fileName, QByteArray& bytes)
{
    try {
        bytes = ReadWholeFile(fileName);
        return true;
    } catch (const FileError&) {
        return false;
    }
}

} // namespace

bool TShellIcons::Load(const QString& fileName)
{
    *this = TShellIcons();
    // Reading a library of many megabytes costs far more (the memory it lands in is new to
    // the process) than parsing it: such a file is mapped, and only what is looked at is
    // brought in. The bytes over the mapping never outlive this object.
    constexpr qint64 MapFrom = 1 << 20;
    auto file = std::make_shared<QFile>();
    try {
        OpenRegularFileForReading(*file, fileName);
    } catch (const FileError&) {
        return false;
    }
    if (file->size() >= MapFrom && file->size() <= std::numeric_limits<qsizetype>::max()) {
        if (const uchar* view = file->map(0, file->size())) {
            LoadBytes(QByteArray::fromRawData(reinterpret_cast<const char*>(view), qsizetype(file->size())));
            m_mapped = std::move(file);
            return true;
        }
    }
    file->close();
    QByteArray bytes;
    if (!ReadFile(fileName, bytes))
        return false;
    LoadBytes(bytes);
    return true;
}

void TShellIcons::LoadBytes(const QByteArray& bytes)
{
    *this = TShellIcons();
    switch (DetectImageFileTypeOf(bytes.left(12))) {
    case iftIco:
    case iftCur: {
        std::uint16_t type = 0;
        std::vector<IconFileEntry> entries;
        if (ReadIconDirectory(bytes, type, entries) && !entries.empty())
            m_icons.push_back(bytes);
        break;
    }
    case iftAni:
        ReadAniFrames(bytes, m_icons);
        break;
    default: {
        auto module = std::make_shared<TExeIconFile>();
        if (module->LoadBytes(bytes))
            m_module = std::move(module);
        break;
    }
    }
}

int TShellIcons::Count() const
{
    return m_module ? m_module->GroupCount() : int(m_icons.size());
}

bool TShellIcons::ImageFile(int index, QByteArray& ico) const
{
    ico.clear();
    if (index < 0 || index >= Count())
        return false;
    return m_module ? BestOfGroup(*m_module, index, ico) : BestOfIconFile(m_icons[std::size_t(index)], ico);
}

QImage TShellIcons::Icon32(int index) const
{
    QByteArray ico;
    if (!ImageFile(index, ico))
        return QImage();
    std::unique_ptr<TmyIcon> icon;
    try {
        TmyIcoIO reader(false);
        if (!reader.LoadFromBytes(icon, ico) || !icon || icon->Count() == 0)
            return QImage();
    } catch (const std::exception&) {
        return QImage();
    }
    QImage image = icon->Image(0).ToQImage().convertToFormat(QImage::Format_ARGB32);
    if (image.width() != 32 || image.height() != 32)
        image = image.scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(QImage::Format_ARGB32);
    return image;
}

int ShellIconCount(const QString& fileName)
{
    TShellIcons icons;
    return icons.Load(fileName) ? icons.Count() : 0;
}

bool ShellIconImageFile(const QString& fileName, int index, QByteArray& ico)
{
    TShellIcons icons;
    ico.clear();
    return icons.Load(fileName) && icons.ImageFile(index, ico);
}

QImage ShellIcon32(const QString& fileName, int index)
{
    TShellIcons icons;
    return icons.Load(fileName) ? icons.Icon32(index) : QImage();
}

} // namespace glimt
