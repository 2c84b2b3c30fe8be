#include "engine/myextract.h"

#include "engine/Errors.h"
#include "engine/Prompts.h"
#include "engine/SafeFile.h"

#include <algorithm>
#include <limits>

namespace {

std::uint16_t HeaderU16(const QByteArray& data, std::uint64_t offset)
{
    std::uint16_t v = 0;
    std::uint8_t b[2];
    if (glimt::ByteReader(data).PeekAt(offset, b, 2))
        v = std::uint16_t(b[0] | (b[1] << 8));
    return v;
}

// A name "#" followed by decimal digits stands for that numeric identifier.
glimt::TResName Resolve(const glimt::TResName& name)
{
    if (name.IsId || !name.Text.startsWith(QLatin1Char('#')) || name.Text.size() < 2)
        return name;
    for (qsizetype i = 1; i < name.Text.size(); ++i) {
        if (!name.Text[i].isDigit() || name.Text[i].unicode() > '9')
            return name;
    }
    bool ok = false;
    const uint id = name.Text.mid(1).toUInt(&ok);
    return ok && id <= 0xFFFF ? glimt::TResName::FromId(std::uint16_t(id)) : name;
}

} // namespace

std::uint16_t TGroupImage::HeaderPlanes() const
{
    return HeaderU16(Data, 12);
}

std::uint16_t TGroupImage::HeaderBitCount() const
{
    return HeaderU16(Data, 14);
}

int GetIconGroupCount(const QString& FileName, const QString& IndexText)
{
    glimt::TExeIconFile file;
    if (!file.Load(FileName))
        return -1;
    return file.ImageCount(file.FindGroup(IndexText));
}

bool ExtractIconGroup(const QString& FileName, const QString& IcoFileName, const QString& IndexText)
{
    glimt::TExeIconFile file;
    if (!file.Load(FileName))
        return false;
    return file.Extract(file.FindGroup(IndexText), IcoFileName);
}

bool EnumIconGroupName(const glimt::TResName& Name, QStringList& List)
{
    if (Name.IsId)
        List.append(QStringLiteral(" #%1").arg(Name.Id));
    else
        List.append(QLatin1Char(' ') + Name.Text);
    return true;
}

glimt::TResName IconGroupResName(const QString& ListedName)
{
    if (ListedName.startsWith(QLatin1String(" #"))) {
        bool ok = false;
        const uint id = ListedName.mid(2).toUInt(&ok);
        if (ok && id <= 0xFFFF)
            return glimt::TResName::FromId(std::uint16_t(id));
    }
    return glimt::TResName::FromText(ListedName);
}

bool IsDibImage(const QByteArray& Data)
{
    glimt::ByteReader r(Data);
    const std::uint32_t size = r.U32();
    r.Skip(8);
    const std::uint16_t planes = r.U16();
    r.Skip(2);
    const std::uint32_t compression = r.U32();
    return r.Ok() && Data.size() >= 40 && size == 40 && planes == 1 && compression == 0;
}

bool ReadDibSize(TGroupImage& Image)
{
    glimt::ByteReader r(Image.Data);
    r.Skip(4);
    Image.Width = r.I32();
    Image.Height = r.I32() / 2;
    const std::int64_t planes = r.U16();
    Image.BitCount = std::int32_t(std::min<std::int64_t>(planes * r.U16(), std::numeric_limits<std::int32_t>::max()));
    return true;
}

void WriteIcoHeaderRaw(glimt::ByteWriter& File, int Count)
{
    File.U16(0);
    File.U16(1);
    File.U16(std::uint16_t(Count));
}

std::uint64_t IcoEntryOffset(const std::vector<TGroupImage>& Images, int Index)
{
    std::uint64_t offset = 6 + 16 * std::uint64_t(Images.size());
    for (int i = 0; i < Index; ++i)
        offset += std::uint64_t(Images[std::size_t(i)].Size);
    return offset;
}

void WriteIcoEntries(glimt::ByteWriter& File, const std::vector<TGroupImage>& Images)
{
    // The colour count of a depth below 8 bits is 2^depth; deeper images have none.
    const auto colours = [](std::uint32_t depth) { return std::uint8_t(depth < 8 ? 1u << depth : 0u); };
    std::uint64_t offset = IcoEntryOffset(Images, 0);
    for (const TGroupImage& image : Images) {
        std::uint16_t planes = image.Group.Planes;
        std::uint16_t bitCount = image.Group.BitCount;
        if (image.IsPng) {
            File.U8(0);
            File.U8(0);
        } else {
            planes = image.HeaderPlanes();
            bitCount = image.HeaderBitCount();
            File.U8(std::uint8_t(image.Width));
            File.U8(std::uint8_t(image.Height));
        }
        File.U8(colours(std::uint32_t(planes) * bitCount));
        File.U8(0);
        File.U16(planes);
        File.U16(bitCount);
        // Sizes and offsets are those of the bytes written, PNG images included, so that
        // a group entry that misstates a size cannot shift the images after it.
        File.U32(std::uint32_t(image.Size));
        File.U32(std::uint32_t(offset));
        offset += std::uint64_t(image.Size);
    }
}

namespace glimt {

bool TExeIconFile::Load(const QString& fileName)
{
    try {
        return LoadBytes(ReadWholeFile(fileName));
    } catch (const FileError&) {
        m_res = TExeResources();
        return false;
    }
}

bool TExeIconFile::LoadBytes(const QByteArray& bytes)
{
    return m_res.Parse(bytes);
}

QStringList TExeIconFile::GroupNames() const
{
    QStringList names;
    names.reserve(GroupCount());
    for (const TResEntry& g : m_res.Groups())
        EnumIconGroupName(g.Name, names);
    return names;
}

int TExeIconFile::FindGroup(const QString& indexText) const
{
    bool ok = false;
    const int index = indexText.trimmed().toInt(&ok);
    if (!ok || index < 0 || index >= GroupCount())
        return -1;
    QStringList names;
    EnumIconGroupName(m_res.Groups()[std::size_t(index)].Name, names);
    const TResName listed = IconGroupResName(names.front().trimmed());
    const TResEntry* g = m_res.FindGroup(Resolve(listed));
    if (!g && index <= 0xFFFF)
        g = m_res.FindGroup(TResName::FromId(std::uint16_t(index)));
    return g ? int(g - m_res.Groups().data()) : -1;
}

bool TExeIconFile::GroupEntries(int group, std::vector<TGroupIconEntry>& entries) const
{
    entries.clear();
    if (group < 0 || group >= GroupCount())
        return false;
    const QByteArray bytes = m_res.Bytes(m_res.Groups()[std::size_t(group)]);
    ByteReader r(bytes);
    r.Skip(4);
    const std::uint64_t count = r.U16();
    if (!r.Ok() || !r.Has(count * 14))
        return false;
    entries.reserve(std::size_t(count));
    for (std::uint64_t i = 0; i < count; ++i) {
        TGroupIconEntry e;
        e.Width = r.U8();
        e.Height = r.U8();
        e.ColorCount = r.U8();
        e.Reserved = r.U8();
        e.Planes = r.U16();
        e.BitCount = r.U16();
        e.BytesInRes = r.U32();
        e.Id = r.U16();
        entries.push_back(e);
    }
    return true;
}

int TExeIconFile::ImageCount(int group) const
{
    std::vector<TGroupIconEntry> entries;
    if (!GroupEntries(group, entries) || entries.size() > std::size_t(MaxGroupImages))
        return 0;
    return int(entries.size());
}

bool TExeIconFile::GroupImage(const TGroupIconEntry& entry, TGroupImage& image, bool headerOnly) const
{
    const TResEntry* icon = m_res.FindIcon(entry.Id);
    if (!icon || !icon->Complete() || icon->Size == 0 || icon->Size < entry.BytesInRes
        || icon->Size > std::uint64_t(std::numeric_limits<std::int32_t>::max()))
        return false;
    image = TGroupImage();
    image.Group = entry;
    // Padding to the module's alignment is not part of the image.
    const std::uint64_t size = icon->Rounded ? std::min<std::uint64_t>(icon->Size, entry.BytesInRes) : icon->Size;
    if (size == 0)
        return false;
    TResEntry part = *icon;
    part.Size = part.Available = headerOnly ? std::min<std::uint64_t>(size, 40) : size;
    image.Data = m_res.Bytes(part);
    if (image.Data.isEmpty())
        return false;
    image.Size = std::int32_t(size);
    image.IsPng = !IsDibImage(image.Data);
    if (!image.IsPng)
        ReadDibSize(image);
    return true;
}

bool TExeIconFile::IconFile(int group, QByteArray& out) const
{
    out.clear();
    std::vector<TGroupIconEntry> entries;
    if (!GroupEntries(group, entries) || entries.empty() || entries.size() > std::size_t(MaxGroupImages))
        return false;
    std::vector<TGroupImage> images(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!GroupImage(entries[i], images[i]))
            return false;
    }
    return WriteIconFile(images, out);
}

bool WriteIconFile(const std::vector<TGroupImage>& images, QByteArray& out)
{
    out.clear();
    std::uint64_t total = IcoEntryOffset(images, int(images.size()));
    if (images.size() > 0xFFFF || total > std::numeric_limits<std::uint32_t>::max())
        return false;
    ByteWriter w;
    w.Reserve(qsizetype(total));
    WriteIcoHeaderRaw(w, int(images.size()));
    WriteIcoEntries(w, images);
    for (const TGroupImage& image : images) {
        const qsizetype start = w.Size();
        w.Raw(image.Data);
        // The image size field of a bitmap header is written as 0.
        if (!image.IsPng)
            w.PatchU32(start + 20, 0);
    }
    out = w.Bytes();
    return true;
}

bool TExeIconFile::Extract(int group, const QString& icoFileName) const
{
    QByteArray bytes;
    if (!IconFile(group, bytes))
        return false;
    try {
        WriteFileAtomically(icoFileName, bytes);
    } catch (const FileError& e) {
        Prompts().Message(TMsgKind::Information, e.Text());
        return false;
    }
    return true;
}

} // namespace glimt
