#include "engine/PngCodec.h"

#include "engine/Errors.h"

#include <libdeflate.h>
#include <png.h>
#include <zlib.h>

#include <cmath>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

// libpng reports errors by longjmp. Every libpng call below happens inside one of the
// "C scope" functions: they hold only plain data (no object with a destructor lives in their
// frames or in any frame a longjmp can cross), catch libpng's errors with setjmp, and return a
// status. The C++ wrappers around them turn a failure into glimt::Error.

namespace {

constexpr int MaxSide = 32768;
// Largest single ancillary chunk libpng may allocate while reading (text, profiles, ...).
constexpr png_alloc_size_t MaxChunkBytes = 8u << 20;

const png_byte PngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

// What the error handler needs; lives in the caller's frame, handed to libpng as error pointer.
struct ErrorState {
    char message[200];
};

void OnPngError(png_structp png, png_const_charp text)
{
    auto* state = static_cast<ErrorState*>(png_get_error_ptr(png));
    if (state) {
        std::strncpy(state->message, text ? text : "unknown error", sizeof(state->message) - 1);
        state->message[sizeof(state->message) - 1] = '\0';
    }
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

struct MemoryInput {
    const png_byte* data;
    std::size_t size;
    std::size_t pos;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length)
{
    auto* in = static_cast<MemoryInput*>(png_get_io_ptr(png));
    if (length > in->size - in->pos)
        png_error(png, "unexpected end of data");
    std::memcpy(out, in->data + in->pos, length);
    in->pos += length;
}

enum class Status { Ok, PngFailed, TooLarge, NoMemory };

// Reads the header, asks `pixelsFor` for a buffer of the checked size (null when it cannot
// have one), and decodes the whole image into it as 8-bit RGBA rows of width * 4 bytes.
using PixelBufferFn = png_bytep (*)(void* context, int width, int height);

Status DecodeInCScope(const png_byte* data, std::size_t size, PixelBufferFn pixelsFor, void* context, ErrorState* err)
{
    MemoryInput input{data, size, 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, err, OnPngError, OnPngWarning);
    if (!png)
        return Status::NoMemory;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return Status::NoMemory;
    }
    // Volatile: modified between setjmp and a possible longjmp.
    volatile Status status = Status::PngFailed;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return status;
    }
    png_set_user_limits(png, MaxSide, MaxSide);
    png_set_chunk_malloc_max(png, MaxChunkBytes);
    png_set_read_fn(png, &input, ReadFromMemory);
    // Every IDAT chunk's CRC is still checked, so the zlib stream's own checksum adds no
    // protection; skipping it saves a pass over the decompressed data.
    png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
    png_read_info(png, info);

    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (width == 0 || height == 0 || width > png_uint_32(MaxSide) || height > png_uint_32(MaxSide)
        || std::uint64_t(width) * height > std::uint64_t(TmyImage::MaxPixels)) {
        status = Status::TooLarge;
        png_error(png, "image too large");
    }
    png_bytep pixels = pixelsFor(context, int(width), int(height));
    if (!pixels) {
        png_destroy_read_struct(&png, &info, nullptr);
        return Status::NoMemory;
    }

    const int colorType = png_get_color_type(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(png);
    if (bitDepth == 16)
        png_set_scale_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != png_size_t(width) * 4)
        png_error(png, "unexpected row layout");
    for (int pass = 0; pass < passes; ++pass)
        for (png_uint_32 y = 0; y < height; ++y)
            png_read_row(png, pixels + std::size_t(y) * width * 4, nullptr);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return Status::Ok;
}

// The writer. The scan lines are filtered here and the zlib stream is the smallest of a few
// fast encodings of them: libdeflate's (as small as zlib's better levels in a fraction of
// their time) and zlib's run-length and Huffman-only strategies, which suit the residues of
// photographs; a picture of few colours is also tried unfiltered. The chunks around the stream
// are the few fixed ones every PNG has. Nothing depends on the time, the machine or earlier
// calls, so the same pixels always give the same bytes.

constexpr int DeflateLevel = 6;

// The five filters of one scan line of n bytes (4 per pixel), `prev` the line above (zeros
// for the first line), each written to out[f] (n bytes).
void FilterCandidates(const std::uint8_t* line, const std::uint8_t* prev, std::size_t n, std::uint8_t* const out[5])
{
    constexpr std::size_t bpp = 4;
    for (std::size_t i = 0; i < n; ++i) {
        const int x = line[i];
        const int b = prev[i];
        const int a = i >= bpp ? line[i - bpp] : 0;
        const int c = i >= bpp ? prev[i - bpp] : 0;
        // Paeth's predictor: the neighbour nearest to a + b - c.
        const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
        const int paeth = (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
        out[0][i] = std::uint8_t(x);
        out[1][i] = std::uint8_t(x - a);
        out[2][i] = std::uint8_t(x - b);
        out[3][i] = std::uint8_t(x - ((a + b) >> 1));
        out[4][i] = std::uint8_t(x - paeth);
    }
}

// The sum of the bytes read as signed magnitudes: what the filter choice minimises.
unsigned MagnitudeSum(const std::uint8_t* bytes, std::size_t n)
{
    unsigned sum = 0;
    for (std::size_t i = 0; i < n; ++i)
        sum += unsigned(std::abs(int(std::int8_t(bytes[i]))));
    return sum;
}

// A byte buffer that is not cleared when it is made. Buffers of icon-sized images are kept
// for the next call of the thread: fresh large blocks cost more (the system maps and clears
// them) than compressing an icon.
class Buffer {
public:
    explicit Buffer(std::size_t size)
    {
        static thread_local std::vector<std::unique_ptr<std::uint8_t[]>> spare;
        if (size <= KeptBytes && !spare.empty()) {
            m_bytes = std::move(spare.back());
            spare.pop_back();
        } else {
            m_bytes.reset(new std::uint8_t[std::max(size, size <= KeptBytes ? KeptBytes : size)]);
        }
        m_size = size;
        m_spare = size <= KeptBytes ? &spare : nullptr;
    }
    ~Buffer()
    {
        if (m_spare && m_spare->size() < 8)
            m_spare->push_back(std::move(m_bytes));
    }
    Buffer(Buffer&& other) noexcept
        : m_bytes(std::move(other.m_bytes)), m_size(other.m_size), m_spare(other.m_spare)
    {
        other.m_spare = nullptr;
        other.m_size = 0;
    }
    Buffer& operator=(Buffer&& other) noexcept
    {
        std::swap(m_bytes, other.m_bytes);
        std::swap(m_size, other.m_size);
        std::swap(m_spare, other.m_spare);
        return *this;
    }

    std::uint8_t* data() { return m_bytes.get(); }
    const std::uint8_t* data() const { return m_bytes.get(); }
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    // Only ever shrinks.
    void resize(std::size_t size) { m_size = std::min(size, m_size); }

private:
    // Enough for a 256 x 256 image with its filter bytes and a worst-case stream.
    static constexpr std::size_t KeptBytes = 320 * 1024;
    std::unique_ptr<std::uint8_t[]> m_bytes;
    std::size_t m_size = 0;
    std::vector<std::unique_ptr<std::uint8_t[]>>* m_spare = nullptr;
};

// Every scan line with the filter whose output has the smallest magnitude sum (the first of
// equals), or with none when `unfiltered`.
Buffer FilterImage(const TmyImage& image, bool unfiltered)
{
    const std::size_t n = std::size_t(image.Width()) * 4, height = std::size_t(image.Height());
    Buffer out(height * (n + 1));
    const auto* rows = reinterpret_cast<const std::uint8_t*>(image.Data());
    if (unfiltered) {
        for (std::size_t y = 0; y < height; ++y) {
            out.data()[y * (n + 1)] = 0;
            std::memcpy(out.data() + y * (n + 1) + 1, rows + y * n, n);
        }
        return out;
    }
    Buffer scratch(6 * n);
    std::uint8_t* zeros = scratch.data() + 5 * n;
    std::memset(zeros, 0, n);
    std::uint8_t* const candidates[5] = {scratch.data(), scratch.data() + n, scratch.data() + 2 * n,
                                         scratch.data() + 3 * n, scratch.data() + 4 * n};
    for (std::size_t y = 0; y < height; ++y) {
        FilterCandidates(rows + y * n, y ? rows + (y - 1) * n : zeros, n, candidates);
        int best = 0;
        unsigned bestSum = MagnitudeSum(candidates[0], n);
        for (int f = 1; f < 5; ++f) {
            const unsigned sum = MagnitudeSum(candidates[f], n);
            if (sum < bestSum) {
                bestSum = sum;
                best = f;
            }
        }
        out.data()[y * (n + 1)] = std::uint8_t(best);
        std::memcpy(out.data() + y * (n + 1) + 1, candidates[best], n);
    }
    return out;
}

// True when the picture holds at most 256 distinct pixel values (drawn with a palette).
bool FewColours(const TmyImage& image)
{
    constexpr std::size_t tableSize = 1024; // open addressing, at most 257 entries
    std::uint32_t keys[tableSize];
    bool used[tableSize] = {};
    int count = 0;
    const TmyPixel* p = image.Data();
    std::uint32_t last = 0;
    bool haveLast = false;
    for (std::size_t i = 0, n = image.PixelCount(); i < n; ++i) {
        std::uint32_t v;
        std::memcpy(&v, p + i, 4);
        if (haveLast && v == last)
            continue;
        last = v;
        haveLast = true;
        std::size_t h = (v * 2654435761u) >> 22;
        while (used[h] && keys[h] != v)
            h = (h + 1) & (tableSize - 1);
        if (!used[h]) {
            if (++count > 256)
                return false;
            used[h] = true;
            keys[h] = v;
        }
    }
    return true;
}

// A lower bound of the bytes a Huffman code of the data's byte frequencies takes.
double EntropyBytes(const Buffer& data)
{
    std::size_t counts[256] = {};
    for (std::size_t i = 0; i < data.size(); ++i)
        ++counts[data.data()[i]];
    double bits = 0;
    const double total = double(data.size());
    for (std::size_t c : counts)
        if (c)
            bits += double(c) * std::log2(total / double(c));
    return bits / 8;
}

struct CompressorDeleter {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

// The compressor is made once per thread and reused: making one costs more than compressing
// a small image.
libdeflate_compressor* Compressor()
{
    thread_local std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor(
        libdeflate_alloc_compressor(DeflateLevel));
    return compressor.get();
}

// The zlib stream of `data` by libdeflate; empty on failure.
Buffer DeflateStream(const Buffer& data)
{
    libdeflate_compressor* compressor = Compressor();
    if (!compressor)
        return Buffer(0);
    Buffer stream(libdeflate_zlib_compress_bound(compressor, data.size()));
    stream.resize(libdeflate_zlib_compress(compressor, data.data(), data.size(), stream.data(), stream.size()));
    return stream;
}

// The zlib stream of `data` by zlib with a strategy (Z_RLE, Z_HUFFMAN_ONLY); empty on failure.
Buffer ZlibStream(const Buffer& data, int strategy)
{
    z_stream z{};
    if (deflateInit2(&z, 6, Z_DEFLATED, 15, 8, strategy) != Z_OK)
        return Buffer(0);
    Buffer stream(deflateBound(&z, uLong(data.size())));
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = uInt(data.size());
    z.next_out = stream.data();
    z.avail_out = uInt(stream.size());
    const int status = deflate(&z, Z_FINISH);
    stream.resize(status == Z_STREAM_END ? std::size_t(z.total_out) : 0);
    deflateEnd(&z);
    return stream;
}

// Keeps `candidate` when it is smaller than `best` (or `best` is empty).
void KeepSmaller(Buffer& best, Buffer&& candidate)
{
    if (!candidate.empty() && (best.empty() || candidate.size() < best.size()))
        best = std::move(candidate);
}

void PutBigEndian32(QByteArray& out, std::uint32_t v)
{
    const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    out.append(b, 4);
}

// A chunk: length, type, data and the CRC of type and data.
void PutChunk(QByteArray& out, const char* type, const std::uint8_t* data, std::size_t size)
{
    PutBigEndian32(out, std::uint32_t(size));
    const qsizetype typeAt = out.size();
    out.append(type, 4);
    if (size)
        out.append(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::uint32_t crc = libdeflate_crc32(0, out.constData() + typeAt, std::size_t(out.size() - typeAt));
    PutBigEndian32(out, crc);
}

std::uint32_t BigEndian32(const std::uint8_t* p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | std::uint32_t(p[3]);
}

struct DecodeTarget {
    TmyImage* image;
    bool failed;
};

png_bytep AllocateTarget(void* context, int width, int height)
{
    auto* target = static_cast<DecodeTarget*>(context);
    try {
        target->image->SetSize(height, width);
        return reinterpret_cast<png_bytep>(target->image->Data());
    } catch (...) {
        target->failed = true;
        return nullptr;
    }
}

} // namespace

namespace glimt {

bool PngDimensions(const std::uint8_t* data, std::size_t size, int& width, int& height)
{
    // Signature, then the IHDR chunk: length 13, type, width, height, ...
    if (!data || size < 8 + 8 + 13 || std::memcmp(data, PngSignature, 8) != 0)
        return false;
    if (BigEndian32(data + 8) != 13 || std::memcmp(data + 12, "IHDR", 4) != 0)
        return false;
    const std::uint32_t w = BigEndian32(data + 16);
    const std::uint32_t h = BigEndian32(data + 20);
    if (w == 0 || h == 0 || w > 0x7FFFFFFFu || h > 0x7FFFFFFFu)
        return false;
    width = int(w);
    height = int(h);
    return true;
}

TmyImage DecodePng(const std::uint8_t* data, std::size_t size)
{
    if (!data || size < 8 || std::memcmp(data, PngSignature, 8) != 0)
        throw Error(QStringLiteral("PNG: no PNG signature"));
    // The header chunk comes first; libpng would skip unknown chunks before it, and what
    // PngDimensions reports would then differ from what decodes.
    int width = 0, height = 0;
    if (!PngDimensions(data, size, width, height))
        throw Error(QStringLiteral("PNG: the file does not begin with its header chunk"));
    TmyImage image;
    DecodeTarget target{&image, false};
    ErrorState err{};
    const Status status = DecodeInCScope(data, size, AllocateTarget, &target, &err);
    if (status == Status::Ok)
        return image;
    if (status == Status::TooLarge)
        throw Error(QStringLiteral("PNG: image too large"));
    if (status == Status::NoMemory || target.failed)
        throw Error(QStringLiteral("PNG: out of memory"));
    throw Error(QStringLiteral("PNG: %1").arg(QString::fromLatin1(err.message)));
}

QByteArray EncodePng(const TmyImage& image)
{
    static_assert(sizeof(TmyPixel) == 4, "rows are filtered as 8-bit RGBA");
    const std::size_t width = std::size_t(image.Width()), height = std::size_t(image.Height());
    // Data larger than zlib's 32-bit counts never reaches an image (at most MaxPixels).
    const Buffer filtered = FilterImage(image, false);
    Buffer stream = DeflateStream(filtered);
    KeepSmaller(stream, ZlibStream(filtered, Z_RLE));
    if (EntropyBytes(filtered) < double(stream.size()))
        KeepSmaller(stream, ZlibStream(filtered, Z_HUFFMAN_ONLY));
    if (FewColours(image))
        KeepSmaller(stream, DeflateStream(FilterImage(image, true)));
    if (stream.empty())
        throw Error(QStringLiteral("PNG: out of memory"));
    if (stream.size() > 0x7FFFFFFFu)
        throw Error(QStringLiteral("PNG: image too large"));

    QByteArray out;
    out.reserve(qsizetype(8 + 25 + 12 + stream.size() + 12));
    out.append(reinterpret_cast<const char*>(PngSignature), 8);
    std::uint8_t header[13] = {};
    for (int i = 0; i < 4; ++i) {
        header[i] = std::uint8_t(width >> (24 - 8 * i));
        header[4 + i] = std::uint8_t(height >> (24 - 8 * i));
    }
    header[8] = 8; // bits per sample
    header[9] = 6; // RGBA; compression, filter method and interlacing 0
    PutChunk(out, "IHDR", header, sizeof(header));
    PutChunk(out, "IDAT", stream.data(), stream.size());
    PutChunk(out, "IEND", nullptr, 0);
    return out;
}

} // namespace glimt
