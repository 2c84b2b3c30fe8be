#include "engine/JpegCodec.h"

#include "engine/Errors.h"
#include "engine/PictureLimits.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>

namespace glimt {

namespace {

// Everything below down to the wrappers is C-style code: no object with a destructor lives
// in a function that calls setjmp, so the jump out of libjpeg skips nothing.

constexpr long MaxCodecMemory = 1L << 30;
// Progressive files can repeat scans without end; real files have a few dozen.
constexpr int MaxScans = 1000;

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr cinfo)
{
    ErrorManager* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void OnMessage(j_common_ptr, int) {}

// Routes libjpeg's errors to OnError and silences its warnings.
jpeg_error_mgr* InstallErrors(ErrorManager& err)
{
    jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.emit_message = OnMessage;
    err.message[0] = 0;
    return &err.pub;
}

void OnProgress(j_common_ptr cinfo)
{
    j_decompress_ptr d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > MaxScans) {
        ErrorManager* err = reinterpret_cast<ErrorManager*>(cinfo->err);
        std::snprintf(err->message, sizeof err->message, "too many scans");
        std::longjmp(err->jump, 1);
    }
}

struct DecodeResult {
    unsigned char* rgba; // malloc'd, width * height * 4 bytes, alpha 255
    unsigned char* cmykRow; // scratch row, freed by DecodeC
    int width;
    int height;
    bool tooLarge;
    char message[JMSG_LENGTH_MAX];
};

bool SizeAllowed(std::int64_t w, std::int64_t h)
{
    return w >= 1 && h >= 1 && w <= MaxPictureSide && h <= MaxPictureSide && w * h <= TmyImage::MaxPixels;
}

void ConvertCmykRow(unsigned char* row, const unsigned char* cmyk, JDIMENSION width, bool inverted)
{
    for (JDIMENSION x = 0; x < width; ++x) {
        int c = cmyk[4 * x], m = cmyk[4 * x + 1], y = cmyk[4 * x + 2], k = cmyk[4 * x + 3];
        if (!inverted) {
            c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        }
        row[4 * x] = static_cast<unsigned char>(c * k / 255);
        row[4 * x + 1] = static_cast<unsigned char>(m * k / 255);
        row[4 * x + 2] = static_cast<unsigned char>(y * k / 255);
        row[4 * x + 3] = 255;
    }
}

bool DecodeC(const unsigned char* data, unsigned long size, int minWidth, int minHeight, DecodeResult* out)
{
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    jpeg_progress_mgr progress;
    out->rgba = nullptr;
    out->cmykRow = nullptr;
    out->tooLarge = false;
    out->message[0] = 0;

    cinfo.err = InstallErrors(err);
    if (setjmp(err.jump)) {
        std::memcpy(out->message, err.message, sizeof out->message);
        std::free(out->rgba);
        out->rgba = nullptr;
        std::free(out->cmykRow);
        out->cmykRow = nullptr;
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = MaxCodecMemory;
    progress.progress_monitor = OnProgress;
    cinfo.progress = &progress;
    jpeg_mem_src(&cinfo, data, size);
    jpeg_read_header(&cinfo, TRUE);
    if (!SizeAllowed(cinfo.image_width, cinfo.image_height)) {
        out->tooLarge = true;
        out->width = int(cinfo.image_width);
        out->height = int(cinfo.image_height);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBA;
    cinfo.scale_num = 1;
    cinfo.scale_denom = 1;
    if (minWidth > 0 || minHeight > 0) {
        for (unsigned denom = 8; denom > 1; denom /= 2) {
            if ((cinfo.image_width + denom - 1) / denom >= unsigned(minWidth)
                && (cinfo.image_height + denom - 1) / denom >= unsigned(minHeight)) {
                cinfo.scale_denom = denom;
                break;
            }
        }
    }
    if (cinfo.scale_denom > 1) {
        // A reduced picture only feeds a further downscale: the faster transforms suffice.
        cinfo.dct_method = JDCT_IFAST;
        cinfo.do_fancy_upsampling = FALSE;
    }
    jpeg_start_decompress(&cinfo);
    out->width = int(cinfo.output_width);
    out->height = int(cinfo.output_height);
    const size_t stride = size_t(cinfo.output_width) * 4;
    out->rgba = static_cast<unsigned char*>(std::malloc(stride * cinfo.output_height));
    if (cmyk)
        out->cmykRow = static_cast<unsigned char*>(std::malloc(size_t(cinfo.output_width) * 4));
    if (!out->rgba || (cmyk && !out->cmykRow)) {
        std::snprintf(err.message, sizeof err.message, "out of memory");
        std::longjmp(err.jump, 1);
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        unsigned char* row = out->rgba + stride * cinfo.output_scanline;
        JSAMPROW target = cmyk ? out->cmykRow : row;
        if (jpeg_read_scanlines(&cinfo, &target, 1) != 1) {
            std::snprintf(err.message, sizeof err.message, "the data ends early");
            std::longjmp(err.jump, 1);
        }
        if (cmyk)
            ConvertCmykRow(row, out->cmykRow, cinfo.output_width, cinfo.saw_Adobe_marker);
    }
    jpeg_finish_decompress(&cinfo);
    std::free(out->cmykRow);
    out->cmykRow = nullptr;
    jpeg_destroy_decompress(&cinfo);
    return true;
}

struct EncodeResult {
    unsigned char* bytes; // allocated by libjpeg's memory destination; free() it
    unsigned long size;
    char message[JMSG_LENGTH_MAX];
};

// `rgbx`: 4 bytes a pixel, the fourth ignored.
bool EncodeC(const unsigned char* rgbx, int width, int height, EncodeResult* out)
{
    jpeg_compress_struct cinfo;
    ErrorManager err;
    out->bytes = nullptr;
    out->size = 0;
    cinfo.err = InstallErrors(err);
    if (setjmp(err.jump)) {
        std::memcpy(out->message, err.message, sizeof out->message);
        jpeg_destroy_compress(&cinfo);
        std::free(out->bytes);
        out->bytes = nullptr;
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &out->bytes, &out->size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_EXT_RGBX;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    const size_t stride = size_t(width) * 4;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<unsigned char*>(rgbx + stride * cinfo.next_scanline);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

} // namespace

TmyImage DecodeJpeg(const std::uint8_t* data, std::size_t size, int minWidth, int minHeight)
{
    if (size == 0 || size > 0xFFFFFFFFu)
        throw Error(QStringLiteral("Not a valid JPEG file"));
    DecodeResult r;
    if (!DecodeC(data, static_cast<unsigned long>(size), minWidth, minHeight, &r)) {
        if (r.tooLarge)
            CheckPictureSize(r.width, r.height, "JPEG");
        throw Error(QStringLiteral("Not a valid JPEG file: %1").arg(QString::fromLocal8Bit(r.message)));
    }
    struct Free {
        unsigned char* p;
        ~Free() { std::free(p); }
    } guard{r.rgba};
    TmyImage image(r.height, r.width);
    std::memcpy(image.Data(), r.rgba, image.PixelCount() * sizeof(TmyPixel));
    return image;
}

QByteArray EncodeJpeg(const TmyImage& image)
{
    EncodeResult r;
    if (!EncodeC(reinterpret_cast<const unsigned char*>(image.Data()), image.Width(), image.Height(), &r))
        throw Error(QStringLiteral("Cannot encode the JPEG picture: %1").arg(QString::fromLocal8Bit(r.message)));
    QByteArray bytes(reinterpret_cast<const char*>(r.bytes), qsizetype(r.size));
    std::free(r.bytes);
    return bytes;
}

} // namespace glimt
