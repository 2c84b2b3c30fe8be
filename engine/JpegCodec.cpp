#include "engine/JpegCodec.h"

#include "engine/Errors.h"
#include "engine/PictureLimits.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

namespace glimt {

namespace {

// Everything below down to the wrappers is C-style code: no object with a destructor lives
// in a function that calls setjmp, so the jump out of libjpeg skips nothing.

// The decoder's own working memory besides the picture: progressive and multi-scan files keep
// every coefficient of the picture (2 bytes a sample), which past this is refused. With the
// picture itself (at most 1 GiB) a decode stays below 1.5 GiB.
constexpr long MaxCodecMemory = 1L << 29;
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
    if (cinfo->err->msg_code == JERR_NO_BACKING_STORE)
        std::snprintf(err->message, sizeof err->message, "the picture needs more than %ld MB to decode",
                      MaxCodecMemory >> 20);
    else
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

// A decode in two steps, so that the picture is allocated once, by the caller, between them:
// StartDecodeC reads the header and sizes the output, FinishDecodeC writes the rows straight
// into the caller's pixels. Each step returns false on failure, with the decoder destroyed and
// `message` set; a caller that stops in between calls AbandonDecodeC.
struct Decoder {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    jpeg_progress_mgr progress;
    bool live; // cinfo is created and not yet destroyed
    bool cmyk;
    bool tooLarge;
    int width;
    int height;
    char message[JMSG_LENGTH_MAX];
};

void AbandonDecodeC(Decoder* d)
{
    if (d->live)
        jpeg_destroy_decompress(&d->cinfo);
    d->live = false;
}

bool FailDecodeC(Decoder* d)
{
    std::memcpy(d->message, d->err.message, sizeof d->message);
    AbandonDecodeC(d);
    return false;
}

bool StartDecodeC(Decoder* d, const unsigned char* data, unsigned long size, int minWidth, int minHeight)
{
    d->live = false;
    d->cmyk = false;
    d->tooLarge = false;
    d->width = d->height = 0;
    d->message[0] = 0;
    // Zeroed and marked live before creation: a failure inside jpeg_create_decompress still
    // frees what it had allocated, and destroying a never-created decoder does nothing.
    std::memset(&d->cinfo, 0, sizeof d->cinfo);
    d->cinfo.err = InstallErrors(d->err);
    d->live = true;
    if (setjmp(d->err.jump))
        return FailDecodeC(d);
    jpeg_create_decompress(&d->cinfo);
    j_decompress_ptr cinfo = &d->cinfo;
    cinfo->mem->max_memory_to_use = MaxCodecMemory;
    d->progress.progress_monitor = OnProgress;
    cinfo->progress = &d->progress;
    jpeg_mem_src(cinfo, data, size);
    jpeg_read_header(cinfo, TRUE);
    if (!SizeAllowed(cinfo->image_width, cinfo->image_height)) {
        d->tooLarge = true;
        d->width = int(cinfo->image_width);
        d->height = int(cinfo->image_height);
        AbandonDecodeC(d);
        return false;
    }
    d->cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    cinfo->out_color_space = d->cmyk ? JCS_CMYK : JCS_EXT_RGBA;
    cinfo->scale_num = 1;
    cinfo->scale_denom = 1;
    if (minWidth > 0 || minHeight > 0) {
        for (unsigned denom = 8; denom > 1; denom /= 2) {
            if ((cinfo->image_width + denom - 1) / denom >= unsigned(minWidth)
                && (cinfo->image_height + denom - 1) / denom >= unsigned(minHeight)) {
                cinfo->scale_denom = denom;
                break;
            }
        }
    }
    if (cinfo->scale_denom > 1) {
        // A reduced picture only feeds a further downscale: the faster transforms suffice.
        cinfo->dct_method = JDCT_IFAST;
        cinfo->do_fancy_upsampling = FALSE;
    }
    jpeg_start_decompress(cinfo);
    d->width = int(cinfo->output_width);
    d->height = int(cinfo->output_height);
    return true;
}

// `rgba`: width * height * 4 bytes; `cmykRow`: width * 4 bytes of scratch for CMYK pictures.
bool FinishDecodeC(Decoder* d, unsigned char* rgba, unsigned char* cmykRow)
{
    if (setjmp(d->err.jump))
        return FailDecodeC(d);
    j_decompress_ptr cinfo = &d->cinfo;
    const size_t stride = size_t(cinfo->output_width) * 4;
    while (cinfo->output_scanline < cinfo->output_height) {
        unsigned char* row = rgba + stride * cinfo->output_scanline;
        JSAMPROW target = d->cmyk ? cmykRow : row;
        if (jpeg_read_scanlines(cinfo, &target, 1) != 1) {
            std::snprintf(d->err.message, sizeof d->err.message, "the data ends early");
            std::longjmp(d->err.jump, 1);
        }
        if (d->cmyk)
            ConvertCmykRow(row, cmykRow, cinfo->output_width, cinfo->saw_Adobe_marker);
    }
    jpeg_finish_decompress(cinfo);
    AbandonDecodeC(d);
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
    // Only the image holds the pixels: a picture at the size limit costs its size once.
    struct Guard {
        Decoder d;
        ~Guard() { AbandonDecodeC(&d); }
    } guard{};
    Decoder& d = guard.d;
    const auto fail = [&d] {
        return Error(QStringLiteral("Not a valid JPEG file: %1").arg(QString::fromLocal8Bit(d.message)));
    };
    if (!StartDecodeC(&d, data, static_cast<unsigned long>(size), minWidth, minHeight)) {
        if (d.tooLarge)
            CheckPictureSize(d.width, d.height, "JPEG");
        throw fail();
    }
    TmyImage image;
    std::vector<unsigned char> cmykRow;
    try {
        image = TmyImage(d.height, d.width);
        cmykRow.resize(d.cmyk ? std::size_t(d.width) * 4 : 0);
    } catch (const std::bad_alloc&) {
        throw Error(QStringLiteral("Not enough memory for the JPEG picture (%1 x %2)").arg(d.width).arg(d.height));
    }
    static_assert(sizeof(TmyPixel) == 4, "JPEG rows are written as R, G, B, A bytes");
    if (!FinishDecodeC(&d, reinterpret_cast<unsigned char*>(image.Data()), cmykRow.data()))
        throw fail();
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
