#include "engine/AniCursor.h"

#include "engine/ByteReader.h"

#include <algorithm>
#include <cstring>

namespace glimt {

namespace {

struct Chunk {
    char id[4] = {};
    std::uint64_t data = 0; // offset of the chunk's data
    std::uint64_t size = 0; // its stated size
    std::uint64_t End() const { return data + size + (size & 1); }
    bool Is(const char* fourcc) const { return std::memcmp(id, fourcc, 4) == 0; }
};

// The chunk header at `pos`, when it lies before `end`.
bool ChunkAt(const ByteReader& r, std::uint64_t pos, std::uint64_t end, Chunk& c)
{
    std::uint8_t h[8];
    if (pos > end || end - pos < 8 || !r.PeekAt(pos, h, 8))
        return false;
    std::memcpy(c.id, h, 4);
    c.data = pos + 8;
    c.size = std::uint64_t(h[4]) | (std::uint64_t(h[5]) << 8) | (std::uint64_t(h[6]) << 16) | (std::uint64_t(h[7]) << 24);
    return true;
}

bool PrintableId(const ByteReader& r, std::uint64_t pos)
{
    std::uint8_t id[4];
    if (!r.PeekAt(pos, id, 4))
        return false;
    return std::all_of(id, id + 4, [](std::uint8_t b) { return b >= 0x20 && b <= 0x7E; });
}

// Where the sub-chunks of a list really end: after the last one that fits in the list.
std::uint64_t SubChunksEnd(const ByteReader& r, const Chunk& list, std::uint64_t end)
{
    const std::uint64_t listEnd = std::min(list.data + list.size, end);
    std::uint64_t pos = list.data + 4;
    Chunk sub;
    while (ChunkAt(r, pos, listEnd, sub) && sub.data + sub.size <= listEnd)
        pos = sub.End();
    return pos;
}

} // namespace

bool ReadAniFrames(const QByteArray& bytes, std::vector<QByteArray>& frames)
{
    frames.clear();
    const ByteReader r(bytes);
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "ACON")
        return false;
    // The size the RIFF header states is not used: writers that misstate an inner size get it
    // wrong too, and the chunks can only end with the data anyway.
    const std::uint64_t end = std::uint64_t(bytes.size());

    std::uint64_t pos = 12;
    Chunk c;
    // Every step moves at least 8 bytes on, so the walk ends with the data.
    while (ChunkAt(r, pos, end, c)) {
        std::uint64_t next = c.End();
        const bool isList = c.Is("LIST") && c.size >= 4;
        char type[4] = {};
        if (isList)
            r.PeekAt(c.data, type, 4);
        if (isList && std::memcmp(type, "fram", 4) == 0) {
            const std::uint64_t listEnd = std::min(c.data + c.size, end);
            std::uint64_t at = c.data + 4;
            Chunk frame;
            while (ChunkAt(r, at, listEnd, frame) && frame.data + frame.size <= listEnd) {
                if (frame.Is("icon"))
                    frames.push_back(bytes.mid(qsizetype(frame.data), qsizetype(frame.size)));
                at = frame.End();
            }
            return true;
        }
        if (isList && next + 8 <= end && !PrintableId(r, next)) {
            const std::uint64_t real = SubChunksEnd(r, c, end);
            if (PrintableId(r, real))
                next = real;
        }
        pos = next;
    }
    return true;
}

} // namespace glimt
