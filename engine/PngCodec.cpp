#include "engine/PngCodec.h"

#include "engine/Errors.h"

#include <libdeflate.h>
#include <png.h>
#include <zlib.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
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

// The fast reader of the common PNG forms: not interlaced, 8 bits per sample (grey, RGB,
// grey + alpha, RGBA) or palette and grey at 1, 2, 4 and 8 bits, with or without tRNS. The
// chunks are walked and their CRCs checked here, the whole zlib stream is inflated at once by
// libdeflate into a buffer of exactly the size the header gives, and each scan line is
// unfiltered and expanded straight into the image. It decodes only what it knows decodes the
// same through libpng: on anything else (another form, a bad CRC, an odd chunk order, a zlib
// stream of the wrong length, an index past the palette) it declines, and libpng reads the file
// and decides, so damaged files keep libpng's verdict.

struct DecompressorDeleter {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

libdeflate_decompressor* Decompressor()
{
    thread_local std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> decompressor(libdeflate_alloc_decompressor());
    return decompressor.get();
}

struct PngHeader {
    std::uint32_t width = 0, height = 0;
    int bitDepth = 0, colorType = 0;
};

// What the walk over the chunks found.
struct PngLayout {
    PngHeader header;
    std::uint8_t palette[256][3] = {};
    int paletteEntries = 0;
    std::uint8_t paletteAlpha[256];
    int alphaEntries = 0;
    bool haveKey = false;
    std::uint16_t key[3] = {}; // the tRNS colour of grey (key[0]) and RGB images
    // The IDAT chunks: data offsets and lengths in file order.
    std::vector<std::pair<std::size_t, std::size_t>> idat;
    std::size_t idatBytes = 0;
};

bool IsChunkLetter(std::uint8_t c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool FastFormat(const PngHeader& h)
{
    switch (h.colorType) {
    case 0:
    case 3: return h.bitDepth == 1 || h.bitDepth == 2 || h.bitDepth == 4 || h.bitDepth == 8;
    case 2:
    case 4:
    case 6: return h.bitDepth == 8;
    default: return false;
    }
}

// Walks the chunks from the signature to IEND. False (decline) on anything the fast reader
// does not take.
bool ReadLayout(const std::uint8_t* data, std::size_t size, PngLayout& out)
{
    std::size_t pos = 8;
    bool seenIdat = false, idatEnded = false, seenPlte = false, seenTrns = false;
    for (bool first = true;; first = false) {
        if (size - pos < 12)
            return false;
        const std::uint32_t length = BigEndian32(data + pos);
        const std::uint8_t* type = data + pos + 4;
        if (length > MaxChunkBytes || length > size - pos - 12)
            return false;
        if (!IsChunkLetter(type[0]) || !IsChunkLetter(type[1]) || !IsChunkLetter(type[2]) || !IsChunkLetter(type[3]))
            return false;
        const std::uint8_t* body = type + 4;
        if (libdeflate_crc32(0, type, std::size_t(length) + 4) != BigEndian32(body + length))
            return false;
        const bool isIdat = std::memcmp(type, "IDAT", 4) == 0;
        if (seenIdat && !isIdat)
            idatEnded = true;
        PngHeader& h = out.header;
        if (first) {
            if (std::memcmp(type, "IHDR", 4) != 0 || length != 13)
                return false;
            h.width = BigEndian32(body);
            h.height = BigEndian32(body + 4);
            h.bitDepth = body[8];
            h.colorType = body[9];
            if (h.width == 0 || h.height == 0 || h.width > png_uint_32(MaxSide) || h.height > png_uint_32(MaxSide)
                || std::uint64_t(h.width) * h.height > std::uint64_t(TmyImage::MaxPixels))
                return false;
            if (!FastFormat(h) || body[10] != 0 || body[11] != 0 || body[12] != 0)
                return false;
        } else if (isIdat) {
            if (idatEnded || (h.colorType == 3 && !seenPlte))
                return false;
            seenIdat = true;
            out.idat.emplace_back(pos + 8, std::size_t(length));
            out.idatBytes += length;
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            return seenIdat && length == 0;
        } else if (std::memcmp(type, "PLTE", 4) == 0) {
            if (h.colorType != 3 || seenPlte || seenIdat || length == 0 || length % 3 != 0
                || length / 3 > (1u << h.bitDepth))
                return false;
            seenPlte = true;
            out.paletteEntries = int(length / 3);
            std::memcpy(out.palette, body, length);
        } else if (std::memcmp(type, "tRNS", 4) == 0) {
            if (seenTrns || seenIdat || h.colorType == 4 || h.colorType == 6)
                return false;
            seenTrns = true;
            if (h.colorType == 3) {
                if (!seenPlte || length == 0 || length > std::uint32_t(out.paletteEntries))
                    return false;
                out.alphaEntries = int(length);
                std::memcpy(out.paletteAlpha, body, length);
            } else {
                const int samples = h.colorType == 0 ? 1 : 3;
                if (length != std::uint32_t(2 * samples))
                    return false;
                for (int i = 0; i < samples; ++i) {
                    out.key[i] = std::uint16_t((body[2 * i] << 8) | body[2 * i + 1]);
                    if (out.key[i] >= (1u << h.bitDepth))
                        return false;
                }
                out.haveKey = true;
            }
        } else if (type[0] >= 'A' && type[0] <= 'Z') {
            return false; // a critical chunk of no use here (or a second IHDR)
        }
        pos += std::size_t(length) + 12;
    }
}

// Reverses the filter of one scan line of n bytes in place; `prev` is the line above, already
// unfiltered (zeros above the first line).
template <int Bpp>
void UnfilterLine(int filter, std::uint8_t* line, const std::uint8_t* prev, std::size_t n)
{
    switch (filter) {
    case 1:
        for (std::size_t i = Bpp; i < n; ++i)
            line[i] = std::uint8_t(line[i] + line[i - Bpp]);
        break;
    case 2:
        for (std::size_t i = 0; i < n; ++i)
            line[i] = std::uint8_t(line[i] + prev[i]);
        break;
    case 3:
        for (std::size_t i = 0; i < Bpp && i < n; ++i)
            line[i] = std::uint8_t(line[i] + (prev[i] >> 1));
        for (std::size_t i = Bpp; i < n; ++i)
            line[i] = std::uint8_t(line[i] + ((line[i - Bpp] + prev[i]) >> 1));
        break;
    case 4:
        for (std::size_t i = 0; i < Bpp && i < n; ++i)
            line[i] = std::uint8_t(line[i] + prev[i]);
        for (std::size_t i = Bpp; i < n; ++i) {
            const int a = line[i - Bpp], b = prev[i], c = prev[i - Bpp];
            const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
            line[i] = std::uint8_t(line[i] + ((pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c)));
        }
        break;
    default: break;
    }
}

#if defined(__SSE2__)
// Average and Paeth at 4 bytes per pixel, the four bytes of a pixel at once (in 16-bit lanes).
// Each pixel depends on the one before, so the gain is in the channels, not across pixels.
inline __m128i Load4(const std::uint8_t* p)
{
    std::int32_t v;
    std::memcpy(&v, p, 4);
    return _mm_unpacklo_epi8(_mm_cvtsi32_si128(v), _mm_setzero_si128());
}

inline void Store4(std::uint8_t* p, __m128i v)
{
    const std::int32_t out = _mm_cvtsi128_si32(_mm_packus_epi16(v, v));
    std::memcpy(p, &out, 4);
}

inline __m128i Abs16(__m128i v)
{
    return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v));
}

// a ? b : c per lane, `mask` all ones or all zeros.
inline __m128i Select(__m128i mask, __m128i b, __m128i c)
{
    return _mm_or_si128(_mm_and_si128(mask, b), _mm_andnot_si128(mask, c));
}

void UnfilterAverage4(std::uint8_t* line, const std::uint8_t* prev, std::size_t n)
{
    const __m128i bytes = _mm_set1_epi16(0xFF);
    __m128i a = _mm_setzero_si128();
    for (std::size_t i = 0; i + 4 <= n; i += 4) {
        const __m128i b = Load4(prev + i);
        a = _mm_and_si128(_mm_add_epi16(Load4(line + i), _mm_srli_epi16(_mm_add_epi16(a, b), 1)), bytes);
        Store4(line + i, a);
    }
}

void UnfilterPaeth4(std::uint8_t* line, const std::uint8_t* prev, std::size_t n)
{
    const __m128i bytes = _mm_set1_epi16(0xFF);
    __m128i a = _mm_setzero_si128(), c = _mm_setzero_si128();
    for (std::size_t i = 0; i + 4 <= n; i += 4) {
        const __m128i b = Load4(prev + i);
        const __m128i p = _mm_sub_epi16(b, c), q = _mm_sub_epi16(a, c);
        const __m128i pa = Abs16(p), pb = Abs16(q), pc = Abs16(_mm_add_epi16(p, q));
        const __m128i smallest = _mm_min_epi16(pc, _mm_min_epi16(pa, pb));
        // Ties go to a, then b, then c.
        const __m128i nearest
            = Select(_mm_cmpeq_epi16(smallest, pa), a, Select(_mm_cmpeq_epi16(smallest, pb), b, c));
        a = _mm_and_si128(_mm_add_epi16(Load4(line + i), nearest), bytes);
        Store4(line + i, a);
        c = b;
    }
}
#endif

void Unfilter(int bpp, int filter, std::uint8_t* line, const std::uint8_t* prev, std::size_t n)
{
#if defined(__SSE2__)
    if (bpp == 4 && filter == 3)
        return UnfilterAverage4(line, prev, n);
    if (bpp == 4 && filter == 4)
        return UnfilterPaeth4(line, prev, n);
#endif
    switch (bpp) {
    case 1: UnfilterLine<1>(filter, line, prev, n); break;
    case 2: UnfilterLine<2>(filter, line, prev, n); break;
    case 3: UnfilterLine<3>(filter, line, prev, n); break;
    default: UnfilterLine<4>(filter, line, prev, n); break;
    }
}

// Sample x of a line of `depth`-bit samples (depth 1, 2, 4 or 8).
inline unsigned Sample(const std::uint8_t* line, std::uint32_t x, int depth)
{
    if (depth == 8)
        return line[x];
    const std::uint32_t bit = x * std::uint32_t(depth);
    return (line[bit >> 3] >> (8 - depth - int(bit & 7))) & ((1u << depth) - 1);
}

template <bool Cut>
inline TmyPixel Finish(TmyPixel p)
{
    return Cut ? glimt::CutAlphaBelow32(p) : p;
}

// Expands one unfiltered scan line into `dst`. Palette lines mark the indices met in `seen`
// and append first-met ones to `order`.
template <bool Cut>
void ExpandLine(const PngLayout& L, const TmyPixel* table, const std::uint8_t* line, TmyPixel* dst, bool* seen,
                std::uint8_t* order, int& orderCount)
{
    const PngHeader& h = L.header;
    const std::uint32_t w = h.width;
    switch (h.colorType) {
    case 3: {
        // Local copies: the pixel stores may alias anything, which would reload these.
        int count = orderCount;
        const int depth = h.bitDepth;
        for (std::uint32_t x = 0; x < w; ++x) {
            const unsigned i = Sample(line, x, depth);
            if (!seen[i]) [[unlikely]] {
                seen[i] = true;
                order[count++] = std::uint8_t(i);
            }
            std::memcpy(dst + x, table + i, sizeof(TmyPixel));
        }
        orderCount = count;
        break;
    }
    case 0: {
        const unsigned scale = 255u / ((1u << h.bitDepth) - 1);
        for (std::uint32_t x = 0; x < w; ++x) {
            const unsigned v = Sample(line, x, h.bitDepth);
            const std::uint8_t g = std::uint8_t(v * scale);
            dst[x] = Finish<Cut>(TmyPixel::CreateRGBA(g, g, g, L.haveKey && v == L.key[0] ? 0 : 255));
        }
        break;
    }
    case 2:
        for (std::uint32_t x = 0; x < w; ++x, line += 3) {
            const bool clear = L.haveKey && line[0] == L.key[0] && line[1] == L.key[1] && line[2] == L.key[2];
            dst[x] = Finish<Cut>(TmyPixel::CreateRGBA(line[0], line[1], line[2], clear ? 0 : 255));
        }
        break;
    case 4:
        for (std::uint32_t x = 0; x < w; ++x, line += 2)
            dst[x] = Finish<Cut>(TmyPixel::CreateRGBA(line[0], line[0], line[0], line[1]));
        break;
    default:
        if (!Cut) {
            std::memcpy(dst, line, std::size_t(w) * 4);
        } else {
            for (std::uint32_t x = 0; x < w; ++x, line += 4)
                dst[x] = glimt::CutAlphaBelow32(TmyPixel::CreateRGBA(line[0], line[1], line[2], line[3]));
        }
        break;
    }
}

enum class FastResult { Decoded, Declined };

// The fast reader; `image` is only changed when it decodes. With `firstMet` set, a palette
// image also gives the pixel values of its palette entries in the order the image first uses
// them.
FastResult DecodeFast(const std::uint8_t* data, std::size_t size, bool cut, TmyImage& image, std::vector<TmyPixel>* firstMet)
{
    PngLayout L;
    if (!ReadLayout(data, size, L))
        return FastResult::Declined;
    const PngHeader& h = L.header;
    static constexpr int channels[7] = {1, 0, 3, 1, 2, 0, 4};
    const int bitsPerPixel = channels[h.colorType] * h.bitDepth;
    const int bpp = std::max(1, bitsPerPixel / 8);
    const std::size_t lineBytes = (std::size_t(h.width) * std::size_t(bitsPerPixel) + 7) / 8;
    const std::size_t rawBytes = std::size_t(h.height) * (lineBytes + 1);
    // Deflate expands at most about 1032 to 1: a stream too short for the header's size is
    // damaged, and libpng (which reads it row by row) says how.
    if (rawBytes / 1032 > L.idatBytes + 64)
        return FastResult::Declined;
    libdeflate_decompressor* inflater = Decompressor();
    if (!inflater)
        return FastResult::Declined;

    // The zlib stream as one piece: the chunk's data itself when there is one IDAT.
    Buffer joined(L.idat.size() > 1 ? L.idatBytes : 1);
    const std::uint8_t* stream = data + L.idat.front().first;
    if (L.idat.size() > 1) {
        std::size_t at = 0;
        for (const auto& [offset, length] : L.idat) {
            std::memcpy(joined.data() + at, data + offset, length);
            at += length;
        }
        stream = joined.data();
    }
    Buffer raw(rawBytes + lineBytes); // the scan lines, then a line of zeros
    std::size_t consumed = 0, produced = 0;
    const libdeflate_result result
        = libdeflate_zlib_decompress_ex(inflater, stream, L.idatBytes, raw.data(), rawBytes, &consumed, &produced);
    if (result != LIBDEFLATE_SUCCESS || consumed != L.idatBytes || produced != rawBytes)
        return FastResult::Declined;

    // The palette expanded once, alpha cut when asked; entries past the palette stay marked
    // so that a line using one declines.
    TmyPixel table[256];
    if (h.colorType == 3)
        for (int i = 0; i < 256; ++i) {
            const TmyPixel p = TmyPixel::CreateRGBA(L.palette[i][0], L.palette[i][1], L.palette[i][2],
                                                    i < L.alphaEntries ? L.paletteAlpha[i] : 255);
            table[i] = cut ? glimt::CutAlphaBelow32(p) : p;
        }
    bool seen[256] = {};
    std::uint8_t order[256];
    int orderCount = 0;

    std::uint8_t* zeros = raw.data() + rawBytes;
    std::memset(zeros, 0, lineBytes);
    // Every pixel is written below, so the image is not cleared first.
    TmyImage out;
    out.SetSizeForOverwrite(int(h.height), int(h.width));
    const std::uint8_t* prev = zeros;
    for (std::uint32_t y = 0; y < h.height; ++y) {
        std::uint8_t* line = raw.data() + std::size_t(y) * (lineBytes + 1);
        if (line[0] > 4)
            return FastResult::Declined;
        Unfilter(bpp, line[0], line + 1, prev, lineBytes);
        if (cut)
            ExpandLine<true>(L, table, line + 1, out.Row(int(y)), seen, order, orderCount);
        else
            ExpandLine<false>(L, table, line + 1, out.Row(int(y)), seen, order, orderCount);
        prev = line + 1;
    }
    if (h.colorType == 3) {
        for (int k = 0; k < orderCount; ++k)
            if (order[k] >= L.paletteEntries)
                return FastResult::Declined;
        if (firstMet) {
            firstMet->clear();
            for (int k = 0; k < orderCount; ++k)
                firstMet->push_back(table[order[k]]);
        }
    }
    image = std::move(out);
    return FastResult::Decoded;
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

// libpng still allocates and clears the declared length of a text chunk beyond
// png_set_chunk_malloc_max before it finds the data missing: a file of a few hundred bytes
// could cost gigabytes. True when a chunk other than IDAT, before IEND, declares more.
bool HasOversizedChunk(const std::uint8_t* data, std::size_t size)
{
    for (std::size_t pos = 8; size - pos >= 8;) {
        const std::uint32_t length = BigEndian32(data + pos);
        const std::uint8_t* type = data + pos + 4;
        if (std::memcmp(type, "IEND", 4) == 0)
            return false;
        if (length > MaxChunkBytes && std::memcmp(type, "IDAT", 4) != 0)
            return true;
        if (std::uint64_t(length) + 12 > size - pos)
            return false;
        pos += std::size_t(length) + 12;
    }
    return false;
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

TmyImage DecodePng(const std::uint8_t* data, std::size_t size, const PngReadOptions& options)
{
    if (options.FirstMet)
        options.FirstMet->clear();
    if (!data || size < 8 || std::memcmp(data, PngSignature, 8) != 0)
        throw Error(QStringLiteral("PNG: no PNG signature"));
    TmyImage image;
    if (DecodeFast(data, size, options.CutAlpha, image, options.FirstMet) == FastResult::Decoded)
        return image;
    image = detail::DecodePngWithLibpng(data, size);
    if (options.CutAlpha) {
        TmyPixel* p = image.Data();
        for (std::size_t i = 0, n = image.PixelCount(); i < n; ++i)
            p[i] = CutAlphaBelow32(p[i]);
    }
    return image;
}

namespace detail {

bool DecodePngFast(const std::uint8_t* data, std::size_t size, TmyImage& image)
{
    return data && size >= 8 && std::memcmp(data, PngSignature, 8) == 0
           && DecodeFast(data, size, false, image, nullptr) == FastResult::Decoded;
}

TmyImage DecodePngWithLibpng(const std::uint8_t* data, std::size_t size)
{
    if (!data || size < 8 || std::memcmp(data, PngSignature, 8) != 0)
        throw Error(QStringLiteral("PNG: no PNG signature"));
    // The header chunk comes first; libpng would skip unknown chunks before it, and what
    // PngDimensions reports would then differ from what decodes.
    int width = 0, height = 0;
    if (!PngDimensions(data, size, width, height))
        throw Error(QStringLiteral("PNG: the file does not begin with its header chunk"));
    if (HasOversizedChunk(data, size))
        throw Error(QStringLiteral("PNG: a chunk is larger than %1 bytes").arg(MaxChunkBytes));
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

} // namespace detail

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
