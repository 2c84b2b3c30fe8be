#include "engine/ExeResources.h"

#include "engine/ByteReader.h"

#include <algorithm>

namespace glimt {

namespace {

// A section of a PE image: where its virtual addresses lie and where its bytes are stored.
struct Section {
    std::uint64_t va = 0;
    std::uint64_t virtualSize = 0;
    std::uint64_t rawSize = 0;
    std::uint64_t rawOffset = 0;
};

// The part of the file that holds the bytes of the virtual range [rva, rva + size): the file
// offset of its start and how many of the bytes are really there.
struct Mapped {
    std::uint64_t offset = 0;
    std::uint64_t available = 0;
};

Mapped MapRva(const std::vector<Section>& sections, std::uint64_t fileSize, std::uint64_t rva, std::uint64_t size)
{
    for (const Section& s : sections) {
        const std::uint64_t span = std::max(s.virtualSize, s.rawSize);
        if (rva < s.va || rva - s.va >= span)
            continue;
        const std::uint64_t into = rva - s.va;
        Mapped m;
        m.offset = s.rawOffset + into;
        if (into >= s.rawSize || m.offset >= fileSize)
            return m;
        m.available = std::min({size, s.rawSize - into, fileSize - m.offset});
        return m;
    }
    return Mapped{};
}

// The walk over a PE resource tree: directories, entries and name strings addressed by
// offsets relative to the start of the resource data, all inside [base, base + length).
class PeTree {
public:
    PeTree(const QByteArray& bytes, std::uint64_t base, std::uint64_t length)
        : m_reader(bytes), m_base(base), m_length(length)
    {
    }

    struct Entry {
        std::uint32_t name = 0;
        std::uint32_t target = 0;
        bool NamedByText() const { return name & 0x80000000u; }
        bool IsDirectory() const { return target & 0x80000000u; }
        std::uint32_t Offset() const { return target & 0x7FFFFFFFu; }
    };

    // The entries of the directory at `offset`; empty when it does not lie inside the data.
    std::vector<Entry> Directory(std::uint64_t offset) const
    {
        std::vector<Entry> entries;
        std::uint8_t head[16];
        if (!Peek(offset, head, sizeof head))
            return entries;
        const std::uint64_t count = std::uint64_t(head[12] | (head[13] << 8)) + std::uint64_t(head[14] | (head[15] << 8));
        if (!Inside(offset + 16, count * 8))
            return entries;
        entries.reserve(std::size_t(count));
        for (std::uint64_t i = 0; i < count; ++i) {
            std::uint8_t e[8];
            Peek(offset + 16 + i * 8, e, sizeof e);
            entries.push_back(Entry{Le32(e), Le32(e + 4)});
        }
        return entries;
    }

    // The name of an entry; false when its text lies outside the data.
    bool Name(const Entry& e, TResName& out) const
    {
        if (!e.NamedByText()) {
            out = TResName::FromId(std::uint16_t(e.name));
            return true;
        }
        const std::uint64_t offset = e.name & 0x7FFFFFFFu;
        std::uint8_t len[2];
        if (!Peek(offset, len, 2))
            return false;
        const std::uint64_t units = std::uint64_t(len[0] | (len[1] << 8));
        if (!Inside(offset + 2, units * 2))
            return false;
        QString text;
        text.resize(qsizetype(units));
        for (std::uint64_t i = 0; i < units; ++i) {
            std::uint8_t c[2];
            Peek(offset + 2 + i * 2, c, 2);
            text[qsizetype(i)] = QChar(char16_t(c[0] | (c[1] << 8)));
        }
        out = TResName::FromText(text);
        return true;
    }

    // The virtual address and size that a data entry gives.
    bool Data(std::uint64_t offset, std::uint32_t& rva, std::uint32_t& size) const
    {
        std::uint8_t d[8];
        if (!Peek(offset, d, sizeof d))
            return false;
        rva = Le32(d);
        size = Le32(d + 4);
        return true;
    }

private:
    static std::uint32_t Le32(const std::uint8_t* p)
    {
        return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
    }
    bool Inside(std::uint64_t offset, std::uint64_t n) const { return offset <= m_length && n <= m_length - offset; }
    bool Peek(std::uint64_t offset, void* dst, std::uint64_t n) const
    {
        return Inside(offset, n) && m_reader.PeekAt(m_base + offset, dst, n);
    }

    ByteReader m_reader;
    std::uint64_t m_base;
    std::uint64_t m_length;
};

} // namespace

bool TResName::Matches(const TResName& other) const
{
    if (IsId != other.IsId)
        return false;
    return IsId ? Id == other.Id : Text.toCaseFolded() == other.Text.toCaseFolded();
}

bool TExeResources::Parse(const QByteArray& bytes)
{
    m_bytes = bytes;
    m_groups.clear();
    m_icons.clear();
    m_iconById.clear();
    m_groupById.clear();
    m_groupByText.clear();
    ByteReader r(m_bytes);
    if (r.U16() != 0x5A4D || !r.Seek(0x3C))
        return false;
    const std::uint64_t header = r.U32();
    std::uint8_t sig[4] = {};
    if (!r.PeekAt(header, sig, 4))
        return false;
    bool ok = false;
    if (sig[0] == 'P' && sig[1] == 'E' && sig[2] == 0 && sig[3] == 0)
        ok = ParsePe(header);
    else if (sig[0] == 'N' && sig[1] == 'E')
        ok = ParseNe(header);
    if (ok)
        Index();
    return ok;
}

bool TExeResources::ParsePe(std::uint64_t header)
{
    ByteReader r(m_bytes);
    r.Seek(header + 6);
    const std::uint64_t sectionCount = r.U16();
    r.Skip(12);
    const std::uint64_t optionalSize = r.U16();
    r.Skip(2);
    const std::uint64_t optional = r.Pos();
    const std::uint16_t magic = r.U16();
    if (!r.Ok() || (magic != 0x10B && magic != 0x20B))
        return false;
    const std::uint64_t countAt = magic == 0x10B ? 92 : 108;
    const std::uint64_t resourceDirAt = countAt + 4 + 2 * 8;

    std::vector<Section> sections;
    const std::uint64_t table = optional + optionalSize;
    if (!r.InRange(table, sectionCount * 40))
        return false;
    sections.reserve(std::size_t(sectionCount));
    for (std::uint64_t i = 0; i < sectionCount; ++i) {
        ByteReader s(m_bytes);
        s.Seek(table + i * 40 + 8);
        Section sec;
        sec.virtualSize = s.U32();
        sec.va = s.U32();
        sec.rawSize = s.U32();
        sec.rawOffset = s.U32();
        sections.push_back(sec);
    }

    // A module whose optional header stops before the resource directory has no resources.
    if (resourceDirAt + 8 > optionalSize)
        return true;
    r.Seek(optional + countAt);
    if (r.U32() < 3)
        return true;
    r.Seek(optional + resourceDirAt);
    const std::uint64_t rootRva = r.U32();
    const std::uint64_t rootSize = r.U32();
    if (!r.Ok())
        return false;
    if (rootRva == 0)
        return true;
    const std::uint64_t fileSize = std::uint64_t(m_bytes.size());
    // The directory's stated size is often wrong; the tree may use all of its section.
    const Mapped root = MapRva(sections, fileSize, rootRva, std::max<std::uint64_t>(rootSize, fileSize));
    if (root.available == 0)
        return false;
    const PeTree tree(m_bytes, root.offset, root.available);

    bool seenIcons = false;
    bool seenGroups = false;
    for (const PeTree::Entry& type : tree.Directory(0)) {
        if (type.NamedByText() || !type.IsDirectory())
            continue;
        TResList* list = nullptr;
        if (type.name == RtIcon && !seenIcons) {
            list = &m_icons;
            seenIcons = true;
        } else if (type.name == RtGroupIcon && !seenGroups) {
            list = &m_groups;
            seenGroups = true;
        } else {
            continue;
        }
        // Type, name and language: the tree has exactly three levels; deeper entries are
        // not followed.
        for (const PeTree::Entry& name : tree.Directory(type.Offset())) {
            TResEntry entry;
            if (!name.IsDirectory() || !tree.Name(name, entry.Name))
                continue;
            const std::vector<PeTree::Entry> languages = tree.Directory(name.Offset());
            if (languages.empty() || languages.front().IsDirectory())
                continue;
            std::uint32_t rva = 0;
            std::uint32_t size = 0;
            if (!tree.Data(languages.front().Offset(), rva, size))
                continue;
            const Mapped data = MapRva(sections, fileSize, rva, size);
            entry.Offset = data.offset;
            entry.Size = size;
            entry.Available = data.available;
            list->push_back(entry);
        }
    }
    return true;
}

bool TExeResources::ParseNe(std::uint64_t header)
{
    ByteReader r(m_bytes);
    r.Seek(header + 0x24);
    const std::uint64_t tableOffset = r.U16();
    const std::uint64_t residentNames = r.U16();
    if (!r.Ok())
        return false;
    if (tableOffset == residentNames)
        return true;
    const std::uint64_t table = header + tableOffset;
    if (!r.Seek(table))
        return false;
    const std::uint32_t shift = r.U16();
    if (!r.Ok() || shift > 24)
        return false;
    const std::uint64_t fileSize = std::uint64_t(m_bytes.size());

    // Type blocks follow one another until a zero type; each consumes at least 8 bytes, so
    // the walk ends at the end of the data whatever the file says.
    for (;;) {
        const std::uint16_t type = r.U16();
        if (!r.Ok() || type == 0)
            break;
        const std::uint64_t count = r.U16();
        r.Skip(4);
        if (!r.Has(count * 12))
            return false;
        TResList* list = nullptr;
        if (type == (0x8000 | RtIcon))
            list = &m_icons;
        else if (type == (0x8000 | RtGroupIcon))
            list = &m_groups;
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::uint64_t offset = std::uint64_t(r.U16()) << shift;
            const std::uint64_t length = std::uint64_t(r.U16()) << shift;
            r.Skip(2);
            const std::uint16_t id = r.U16();
            r.Skip(4);
            if (!list)
                continue;
            TResEntry entry;
            if (id & 0x8000) {
                entry.Name = TResName::FromId(std::uint16_t(id & 0x7FFF));
            } else {
                std::uint8_t len = 0;
                if (!r.PeekAt(table + id, &len, 1))
                    continue;
                QByteArray text(len, '\0');
                if (!r.PeekAt(table + id + 1, text.data(), len))
                    continue;
                entry.Name = TResName::FromText(QString::fromLatin1(text));
            }
            entry.Offset = offset;
            entry.Size = length;
            entry.Available = offset < fileSize ? std::min(length, fileSize - offset) : 0;
            entry.Rounded = true;
            list->push_back(entry);
        }
    }
    return true;
}

void TExeResources::Index()
{
    // The first resource of a name wins, as a lookup in module order finds it.
    m_iconById.reserve(qsizetype(m_icons.size()));
    for (std::size_t i = 0; i < m_icons.size(); ++i) {
        if (m_icons[i].Name.IsId && !m_iconById.contains(m_icons[i].Name.Id))
            m_iconById.insert(m_icons[i].Name.Id, i);
    }
    for (std::size_t i = 0; i < m_groups.size(); ++i) {
        const TResName& n = m_groups[i].Name;
        if (n.IsId && !m_groupById.contains(n.Id))
            m_groupById.insert(n.Id, i);
        else if (!n.IsId && !m_groupByText.contains(n.Text.toCaseFolded()))
            m_groupByText.insert(n.Text.toCaseFolded(), i);
    }
}

const TResEntry* TExeResources::FindIcon(std::uint16_t id) const
{
    const auto it = m_iconById.constFind(id);
    return it == m_iconById.constEnd() ? nullptr : &m_icons[*it];
}

const TResEntry* TExeResources::FindGroup(const TResName& name) const
{
    if (name.IsId) {
        const auto it = m_groupById.constFind(name.Id);
        return it == m_groupById.constEnd() ? nullptr : &m_groups[*it];
    }
    const auto it = m_groupByText.constFind(name.Text.toCaseFolded());
    return it == m_groupByText.constEnd() ? nullptr : &m_groups[*it];
}

QByteArray TExeResources::Bytes(const TResEntry& entry) const
{
    if (!entry.Complete() || entry.Size == 0)
        return QByteArray();
    return m_bytes.mid(qsizetype(entry.Offset), qsizetype(entry.Size));
}

} // namespace glimt
