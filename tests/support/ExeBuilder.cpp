#include "tests/support/ExeBuilder.h"

#include "engine/ByteReader.h"

#include <QBuffer>
#include <QImage>

namespace glimt::test {

namespace {

void PadTo(ByteWriter& w, qsizetype alignment)
{
    while (w.Size() % alignment)
        w.U8(0);
}

void WriteMz(ByteWriter& w)
{
    w.Raw("MZ", 2);
    w.Zeros(0x3C - 2);
    w.U32(0x40);
}

} // namespace

ExeBuilder& ExeBuilder::AddIcon(std::uint16_t id, const QByteArray& data, std::uint32_t extraDeclared)
{
    m_res.push_back(Res{3, false, id, QString(), data, extraDeclared});
    return *this;
}

ExeBuilder& ExeBuilder::AddGroup(std::uint16_t id, const QByteArray& data)
{
    m_res.push_back(Res{14, false, id, QString(), data, 0});
    return *this;
}

ExeBuilder& ExeBuilder::AddGroup(const QString& name, const QByteArray& data)
{
    m_res.push_back(Res{14, true, 0, name, data, 0});
    return *this;
}

ExeBuilder& ExeBuilder::SetNeShift(int shift)
{
    m_neShift = shift;
    return *this;
}

QByteArray ExeBuilder::Build(Format format, Layout* layout) const
{
    Layout scratch;
    Layout& l = layout ? *layout : scratch;
    return format == Format::Ne ? BuildNe(&l) : BuildPe(format == Format::Pe32Plus, &l);
}

QByteArray ExeBuilder::BuildPe(bool plus, Layout* layout) const
{
    constexpr std::uint32_t sectionVa = 0x1000;
    constexpr std::uint32_t sectionFile = 0x200;
    const std::uint16_t types[] = {3, 14};

    // The resource section: root, type directories, name directories with one language each,
    // data entries, name strings, then the resources' bytes.
    std::vector<const Res*> ofType[2];
    for (const Res& r : m_res)
        ofType[r.type == 14 ? 1 : 0].push_back(&r);
    const int typeCount = int(!ofType[0].empty()) + int(!ofType[1].empty());
    const std::uint32_t rootSize = 16 + 8 * typeCount;
    std::uint32_t at = rootSize;
    std::uint32_t typeDirAt[2] = {};
    for (int t = 0; t < 2; ++t) {
        typeDirAt[t] = at;
        if (!ofType[t].empty())
            at += 16 + 8 * std::uint32_t(ofType[t].size());
    }
    const std::uint32_t nameDirsAt = at;
    at += 24 * std::uint32_t(m_res.size());
    const std::uint32_t dataEntriesAt = at;
    at += 16 * std::uint32_t(m_res.size());
    const std::uint32_t stringsAt = at;
    std::vector<std::uint32_t> stringAt;
    for (int t = 0; t < 2; ++t) {
        for (const Res* r : ofType[t]) {
            stringAt.push_back(at);
            if (r->named)
                at += 2 + 2 * std::uint32_t(r->name.size());
        }
    }
    at = (at + 7) & ~7u;
    std::vector<std::uint32_t> dataAt;
    for (int t = 0; t < 2; ++t) {
        for (const Res* r : ofType[t]) {
            dataAt.push_back(at);
            at = (at + std::uint32_t(r->data.size()) + 7) & ~7u;
        }
    }
    const std::uint32_t sectionSize = at;

    ByteWriter s;
    s.U32(0);
    s.U32(0);
    s.U32(0);
    s.U16(0);
    s.U16(std::uint16_t(typeCount));
    for (int t = 0; t < 2; ++t) {
        if (ofType[t].empty())
            continue;
        s.U32(types[t]);
        s.U32(0x80000000u | typeDirAt[t]);
    }
    std::size_t k = 0;
    for (int t = 0; t < 2; ++t) {
        if (ofType[t].empty())
            continue;
        std::uint16_t named = 0;
        for (const Res* r : ofType[t])
            named += r->named ? 1 : 0;
        s.U32(0);
        s.U32(0);
        s.U32(0);
        s.U16(named);
        s.U16(std::uint16_t(ofType[t].size() - named));
        for (const Res* r : ofType[t]) {
            s.U32(r->named ? 0x80000000u | stringAt[k] : r->id);
            s.U32(0x80000000u | (nameDirsAt + 24 * std::uint32_t(k)));
            ++k;
        }
    }
    for (k = 0; k < m_res.size(); ++k) {
        s.U32(0);
        s.U32(0);
        s.U32(0);
        s.U16(0);
        s.U16(1);
        s.U32(0x409);
        s.U32(dataEntriesAt + 16 * std::uint32_t(k));
    }
    k = 0;
    for (int t = 0; t < 2; ++t) {
        for (const Res* r : ofType[t]) {
            s.U32(sectionVa + dataAt[k]);
            s.U32(std::uint32_t(r->data.size()) + r->extraDeclared);
            s.U32(0);
            s.U32(0);
            ++k;
        }
    }
    Q_ASSERT(s.Size() == stringsAt);
    for (int t = 0; t < 2; ++t) {
        for (const Res* r : ofType[t]) {
            if (!r->named)
                continue;
            s.U16(std::uint16_t(r->name.size()));
            for (QChar c : r->name)
                s.U16(c.unicode());
        }
    }
    k = 0;
    for (int t = 0; t < 2; ++t) {
        for (const Res* r : ofType[t]) {
            s.Zeros(dataAt[k] - std::uint32_t(s.Size()));
            s.Raw(r->data);
            ++k;
        }
    }
    s.Zeros(sectionSize - std::uint32_t(s.Size()));

    ByteWriter w;
    WriteMz(w);
    layout->header = std::uint64_t(w.Size());
    w.Raw("PE\0\0", 4);
    const std::uint16_t optionalSize = plus ? 240 : 224;
    w.U16(plus ? 0x8664 : 0x14C);
    w.U16(1);
    w.U32(0);
    w.U32(0);
    w.U32(0);
    w.U16(optionalSize);
    w.U16(0x2102);
    const qsizetype optional = w.Size();
    w.U16(plus ? 0x20B : 0x10B);
    w.Zeros(optionalSize - 2);
    const qsizetype countAt = optional + (plus ? 108 : 92);
    w.PatchU32(optional + 32, 0x1000); // section alignment
    w.PatchU32(optional + 36, 0x200);  // file alignment
    w.PatchU32(optional + 56, sectionVa + ((sectionSize + 0xFFF) & ~0xFFFu));
    w.PatchU32(optional + 60, sectionFile);
    w.PatchU32(countAt, 16);
    layout->rvaCount = std::uint64_t(countAt);
    layout->resourceDir = std::uint64_t(countAt + 4 + 16);
    w.PatchU32(countAt + 4 + 16, sectionVa);
    w.PatchU32(countAt + 4 + 20, sectionSize);
    layout->sectionTable = std::uint64_t(w.Size());
    w.Raw(".rsrc\0\0\0", 8);
    w.U32(sectionSize);
    w.U32(sectionVa);
    w.U32((sectionSize + 0x1FF) & ~0x1FFu);
    w.U32(sectionFile);
    w.Zeros(12);
    w.U32(0x40000040u);
    w.Zeros(sectionFile - w.Size());
    layout->resources = sectionFile;
    layout->firstData = dataAt.empty() ? 0 : sectionFile + dataAt.front();
    w.Raw(s.Bytes());
    PadTo(w, 0x200);
    return w.Bytes();
}

QByteArray ExeBuilder::BuildNe(Layout* layout) const
{
    const std::uint32_t align = 1u << m_neShift;
    const std::uint16_t types[] = {0x8003, 0x800E};
    std::vector<const Res*> ofType[2];
    for (const Res& r : m_res)
        ofType[r.type == 14 ? 1 : 0].push_back(&r);

    // The resource table: shift, type blocks, terminator, names; then the resident-name table.
    std::uint32_t tableSize = 2;
    for (const auto& list : ofType)
        tableSize += list.empty() ? 0 : 8 + 12 * std::uint32_t(list.size());
    tableSize += 2;
    std::uint32_t namesAt = tableSize;
    for (const Res& r : m_res)
        tableSize += r.named ? 1 + std::uint32_t(r.name.size()) : 0;
    constexpr std::uint32_t header = 0x40;
    const std::uint32_t table = header + 0x40;
    const std::uint32_t residentNames = table + tableSize;
    std::uint32_t dataAt = (residentNames + 1 + align - 1) / align * align;

    ByteWriter w;
    WriteMz(w);
    layout->header = header;
    layout->resources = table;
    w.Raw("NE", 2);
    w.Zeros(0x24 - 2);
    w.U16(std::uint16_t(table - header));
    w.U16(std::uint16_t(residentNames - header));
    w.Zeros(0x40 - 0x28);
    w.U16(std::uint16_t(m_neShift));
    std::vector<std::pair<const Res*, std::uint32_t>> placed;
    for (int t = 0; t < 2; ++t) {
        if (ofType[t].empty())
            continue;
        w.U16(types[t]);
        w.U16(std::uint16_t(ofType[t].size()));
        w.U32(0);
        for (const Res* r : ofType[t]) {
            const std::uint32_t length = (std::uint32_t(r->data.size()) + r->extraDeclared + align - 1) / align;
            w.U16(std::uint16_t(dataAt / align));
            w.U16(std::uint16_t(length));
            w.U16(0x30);
            if (r->named) {
                w.U16(std::uint16_t(namesAt));
                namesAt += 1 + std::uint32_t(r->name.size());
            } else {
                w.U16(0x8000 | r->id);
            }
            w.U32(0);
            placed.push_back({r, dataAt});
            dataAt += (std::uint32_t(r->data.size()) + align - 1) / align * align;
        }
    }
    w.U16(0);
    for (int t = 0; t < 2; ++t) {
        for (const Res* r : ofType[t]) {
            if (!r->named)
                continue;
            w.U8(std::uint8_t(r->name.size()));
            w.Raw(r->name.toLatin1());
        }
    }
    w.U8(0);
    for (const auto& [r, offset] : placed) {
        if (layout->firstData == 0)
            layout->firstData = offset;
        w.Zeros(offset - std::uint32_t(w.Size()));
        w.Raw(r->data);
    }
    PadTo(w, align);
    return w.Bytes();
}

QByteArray DibImage(int width, int height, int bits, std::uint8_t seed)
{
    const int colours = bits <= 8 ? 1 << bits : 0;
    const qsizetype xorStride = (qsizetype(width) * bits + 31) / 32 * 4;
    const qsizetype andStride = (qsizetype(width) + 31) / 32 * 4;
    ByteWriter w;
    w.U32(40);
    w.I32(width);
    w.I32(2 * height);
    w.U16(1);
    w.U16(std::uint16_t(bits));
    w.U32(0);
    w.U32(std::uint32_t((xorStride + andStride) * height));
    w.Zeros(16);
    for (int i = 0; i < colours; ++i) {
        w.U8(std::uint8_t(i * 37 + seed));
        w.U8(std::uint8_t(i * 11));
        w.U8(std::uint8_t(255 - i));
        w.U8(0);
    }
    for (qsizetype i = 0; i < xorStride * height; ++i)
        w.U8(bits == 32 && i % 4 == 3 ? 255 : std::uint8_t(i * 7 + seed));
    w.Zeros(andStride * height);
    return w.Bytes();
}

QByteArray PngImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(qRgba(10, 120, 230, 255));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray GroupResource(const std::vector<GroupEntry>& entries)
{
    ByteWriter w;
    w.U16(0);
    w.U16(1);
    w.U16(std::uint16_t(entries.size()));
    for (const GroupEntry& e : entries) {
        w.U8(e.width);
        w.U8(e.height);
        w.U8(e.colors);
        w.U8(0);
        w.U16(e.planes);
        w.U16(e.bits);
        w.U32(e.bytes);
        w.U16(e.id);
    }
    return w.Bytes();
}

GroupEntry EntryFor(const QByteArray& image, std::uint16_t id)
{
    GroupEntry e;
    e.id = id;
    e.bytes = std::uint32_t(image.size());
    ByteReader r(image);
    if (image.startsWith("\x89PNG")) {
        r.Seek(16);
        const std::uint32_t width = std::uint32_t(r.U8()) << 24 | std::uint32_t(r.U8()) << 16 | std::uint32_t(r.U8()) << 8 | r.U8();
        const std::uint32_t height = std::uint32_t(r.U8()) << 24 | std::uint32_t(r.U8()) << 16 | std::uint32_t(r.U8()) << 8 | r.U8();
        e.width = std::uint8_t(width);
        e.height = std::uint8_t(height);
        e.bits = 32;
        return e;
    }
    r.Skip(4);
    e.width = std::uint8_t(r.I32());
    e.height = std::uint8_t(r.I32() / 2);
    e.planes = r.U16();
    e.bits = r.U16();
    e.colors = std::uint8_t(e.bits < 8 ? 1 << e.bits : 0);
    return e;
}

QByteArray IconFileOf(std::uint16_t type, const std::vector<QByteArray>& images)
{
    ByteWriter w;
    w.U16(0);
    w.U16(type);
    w.U16(std::uint16_t(images.size()));
    std::uint32_t offset = 6 + 16 * std::uint32_t(images.size());
    for (const QByteArray& image : images) {
        const GroupEntry e = EntryFor(image, 0);
        w.U8(e.width);
        w.U8(e.height);
        w.U8(e.colors);
        w.U8(0);
        w.U16(type == 2 ? 3 : e.planes);
        w.U16(type == 2 ? 5 : e.bits);
        w.U32(std::uint32_t(image.size()));
        w.U32(offset);
        offset += std::uint32_t(image.size());
    }
    for (const QByteArray& image : images)
        w.Raw(image);
    return w.Bytes();
}

QByteArray AnimatedCursorOf(const std::vector<QByteArray>& frames)
{
    const auto chunk = [](const char* id, const QByteArray& data) {
        const quint32 n = quint32(data.size());
        const char size[4] = {char(n & 0xFF), char((n >> 8) & 0xFF), char((n >> 16) & 0xFF), char(n >> 24)};
        return QByteArray(id, 4) + QByteArray(size, 4) + data + (data.size() % 2 ? QByteArray(1, 0) : QByteArray());
    };
    QByteArray list = "fram";
    for (const QByteArray& frame : frames)
        list += chunk("icon", frame);
    return chunk("RIFF", "ACON" + chunk("LIST", list));
}

} // namespace glimt::test
