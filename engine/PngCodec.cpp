#include "engine/PngCodec.h"

#include "engine/Errors.h"

#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>

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

struct MemoryOutput {
    png_bytep data;
    std::size_t size;
    std::size_t capacity;
};

void WriteToMemory(png_structp png, png_bytep bytes, png_size_t length)
{
    auto* out = static_cast<MemoryOutput*>(png_get_io_ptr(png));
    if (length > out->capacity - out->size) {
        std::size_t capacity = out->capacity ? out->capacity : 4096;
        while (capacity - out->size < length) {
            if (capacity > (std::size_t(1) << 40))
                png_error(png, "output too large");
            capacity *= 2;
        }
        auto* grown = static_cast<png_bytep>(std::realloc(out->data, capacity));
        if (!grown)
            png_error(png, "out of memory");
        out->data = grown;
        out->capacity = capacity;
    }
    std::memcpy(out->data + out->size, bytes, length);
    out->size += length;
}

void FlushMemory(png_structp) {}

// Encodes 8-bit RGBA rows; on success `out` holds the bytes (malloc'd, the caller frees).
Status EncodeInCScope(const png_byte* rgba, int width, int height, MemoryOutput* out, ErrorState* err)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, err, OnPngError, OnPngWarning);
    if (!png)
        return Status::NoMemory;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return Status::NoMemory;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return Status::PngFailed;
    }
    png_set_write_fn(png, out, WriteToMemory, FlushMemory);
    // Fixed settings, so that the same pixels always give the same bytes.
    png_set_compression_level(png, 9);
    png_set_compression_mem_level(png, 8);
    png_set_compression_strategy(png, 0 /* Z_DEFAULT_STRATEGY */);
    png_set_compression_window_bits(png, 15);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, rgba + std::size_t(y) * std::size_t(width) * 4);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return Status::Ok;
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
    static_assert(sizeof(TmyPixel) == 4, "rows are handed to libpng as 8-bit RGBA");
    MemoryOutput out{nullptr, 0, 0};
    ErrorState err{};
    const Status status =
        EncodeInCScope(reinterpret_cast<const png_byte*>(image.Data()), image.Width(), image.Height(), &out, &err);
    if (status != Status::Ok) {
        std::free(out.data);
        throw Error(QStringLiteral("PNG: %1").arg(status == Status::NoMemory ? QStringLiteral("out of memory")
                                                                             : QString::fromLatin1(err.message)));
    }
    QByteArray bytes;
    try {
        bytes = QByteArray(reinterpret_cast<const char*>(out.data), qsizetype(out.size));
    } catch (...) {
        std::free(out.data);
        throw;
    }
    std::free(out.data);
    return bytes;
}

} // namespace glimt
