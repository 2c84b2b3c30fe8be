#pragma once
#include <QByteArray>

#include <cstdint>
#include <cstring>

namespace glimt {

// A bounds-checked little-endian reader over bytes it does not own. Every read past the end
// fails: it returns 0, reads nothing and leaves Ok() false for good (a sticky failure), so a
// parser can read a whole structure and test Ok() once. Offsets are 64-bit so that sums of
// untrusted 32-bit fields cannot wrap.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    explicit ByteReader(const QByteArray& bytes)
        : m_data(reinterpret_cast<const std::uint8_t*>(bytes.constData())), m_size(std::size_t(bytes.size()))
    {
    }

    std::size_t Size() const { return m_size; }
    std::size_t Pos() const { return m_pos; }
    std::size_t Remaining() const { return m_size - m_pos; }
    bool Ok() const { return m_ok; }
    const std::uint8_t* Data() const { return m_data; }
    // True when `n` bytes can be read at the position.
    bool Has(std::uint64_t n) const { return m_ok && n <= m_size - m_pos; }
    // True when the byte range [offset, offset + n) lies inside the data.
    bool InRange(std::uint64_t offset, std::uint64_t n) const { return offset <= m_size && n <= m_size - offset; }

    bool Seek(std::uint64_t pos)
    {
        if (!m_ok || pos > m_size)
            return Fail();
        m_pos = std::size_t(pos);
        return true;
    }
    bool Skip(std::uint64_t n)
    {
        if (!Has(n))
            return Fail();
        m_pos += std::size_t(n);
        return true;
    }
    // A pointer to the next `n` bytes (and moves past them), or null on failure.
    const std::uint8_t* Bytes(std::uint64_t n)
    {
        if (!Has(n)) {
            Fail();
            return nullptr;
        }
        const std::uint8_t* p = m_data + m_pos;
        m_pos += std::size_t(n);
        return p;
    }
    bool Read(void* dst, std::uint64_t n)
    {
        const std::uint8_t* p = Bytes(n);
        if (!p)
            return false;
        std::memcpy(dst, p, std::size_t(n));
        return true;
    }

    std::uint8_t U8()
    {
        const std::uint8_t* p = Bytes(1);
        return p ? p[0] : 0;
    }
    std::uint16_t U16()
    {
        const std::uint8_t* p = Bytes(2);
        return p ? std::uint16_t(p[0] | (p[1] << 8)) : 0;
    }
    std::uint32_t U32()
    {
        const std::uint8_t* p = Bytes(4);
        return p ? std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24)
                 : 0;
    }
    std::uint64_t U64()
    {
        const std::uint64_t lo = U32();
        const std::uint64_t hi = U32();
        return lo | (hi << 32);
    }
    std::int16_t I16() { return std::int16_t(U16()); }
    std::int32_t I32() { return std::int32_t(U32()); }

    // Reads at an absolute offset without moving the position (failure is not sticky here).
    bool PeekAt(std::uint64_t offset, void* dst, std::uint64_t n) const
    {
        if (!InRange(offset, n))
            return false;
        std::memcpy(dst, m_data + offset, std::size_t(n));
        return true;
    }

private:
    bool Fail()
    {
        m_ok = false;
        return false;
    }

    const std::uint8_t* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_pos = 0;
    bool m_ok = true;
};

// Little-endian writing into a growing byte array.
class ByteWriter {
public:
    QByteArray& Bytes() { return m_bytes; }
    const QByteArray& Bytes() const { return m_bytes; }
    qsizetype Size() const { return m_bytes.size(); }
    void Reserve(qsizetype n) { m_bytes.reserve(n); }
    void U8(std::uint8_t v) { m_bytes.append(char(v)); }
    void U16(std::uint16_t v)
    {
        U8(std::uint8_t(v));
        U8(std::uint8_t(v >> 8));
    }
    void U32(std::uint32_t v)
    {
        U16(std::uint16_t(v));
        U16(std::uint16_t(v >> 16));
    }
    void I32(std::int32_t v) { U32(std::uint32_t(v)); }
    void Raw(const void* data, qsizetype n) { m_bytes.append(static_cast<const char*>(data), n); }
    void Raw(const QByteArray& data) { m_bytes.append(data); }
    void Zeros(qsizetype n) { m_bytes.append(n, '\0'); }
    // Overwrites 4 bytes at `offset` (which must already exist).
    void PatchU32(qsizetype offset, std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            m_bytes[offset + i] = char(std::uint8_t(v >> (8 * i)));
    }

private:
    QByteArray m_bytes;
};

} // namespace glimt
