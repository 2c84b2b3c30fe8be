#pragma once
#include <QByteArray>
#include <QHash>
#include <QString>

#include <cstdint>
#include <vector>

namespace glimt {

// The name of a resource: a numeric identifier or a text (compared without regard to case,
// as the module formats store and look up names in capitals).
struct TResName {
    bool IsId = true;
    std::uint16_t Id = 0;
    QString Text;

    static TResName FromId(std::uint16_t id) { return TResName{true, id, QString()}; }
    static TResName FromText(const QString& text) { return TResName{false, 0, text}; }
    bool Matches(const TResName& other) const;
};

// One resource of a module: its name and where its bytes lie in the file. Size is what the
// module declares; Available is how many of those bytes the file really holds there (less than
// Size for a resource cut short or pointing outside its section).
struct TResEntry {
    TResName Name;
    std::uint64_t Offset = 0;
    std::uint64_t Size = 0;
    std::uint64_t Available = 0;
    // NE modules give sizes in units of their alignment, so Size may exceed the resource's
    // real length by the padding.
    bool Rounded = false;

    bool Complete() const { return Available == Size; }
};

// The resources of one type, in the order the module lists them.
using TResList = std::vector<TResEntry>;

// The icon-group and icon resources of an executable or library, read once from its bytes:
// PE32 and PE32+ (".exe", ".dll", ".ocx", 32-bit ".icl") and the 16-bit NE format of icon
// libraries. Nothing in the file is trusted: every offset and size is checked against the data,
// arithmetic is 64-bit, the walk over the resource tree has a fixed depth, and every loop is
// bounded by the bytes it consumes.
class TExeResources {
public:
    static constexpr std::uint16_t RtIcon = 3;
    static constexpr std::uint16_t RtGroupIcon = 14;

    // False when the bytes are not a PE or NE module with a readable resource table (a module
    // without resources reads as one with no groups). The object keeps a shared copy of `bytes`.
    bool Parse(const QByteArray& bytes);

    const TResList& Groups() const { return m_groups; }
    const TResList& Icons() const { return m_icons; }
    // The first icon resource with that numeric identifier, or null.
    const TResEntry* FindIcon(std::uint16_t id) const;
    // The first icon-group resource of that name, or null.
    const TResEntry* FindGroup(const TResName& name) const;
    // The bytes of a resource that the file holds completely; empty otherwise.
    QByteArray Bytes(const TResEntry& entry) const;

private:
    bool ParsePe(std::uint64_t header);
    bool ParseNe(std::uint64_t header);
    void Index();

    QByteArray m_bytes;
    TResList m_groups;
    TResList m_icons;
    QHash<std::uint16_t, std::size_t> m_iconById;
    QHash<std::uint16_t, std::size_t> m_groupById;
    QHash<QString, std::size_t> m_groupByText; // case-folded
};

} // namespace glimt
