#include "engine/GifCodec.h"

#include "engine/Errors.h"
#include "engine/MyImage.h"
#include "engine/PictureLimits.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include <gif_lib.h>

namespace glimt {

namespace {

[[noreturn]] void Bad(const QString& why)
{
    throw Error(QStringLiteral("Not a valid GIF file: %1").arg(why));
}

QString GifError(int code)
{
    const char* text = GifErrorString(code);
    return text ? QString::fromLatin1(text) : QStringLiteral("error %1").arg(code);
}

struct MemoryInput {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int length)
{
    MemoryInput* in = static_cast<MemoryInput*>(gif->UserData);
    if (length <= 0)
        return 0;
    const std::size_t n = std::min<std::size_t>(std::size_t(length), in->size - in->pos);
    if (n > 0)
        std::memcpy(buffer, in->data + in->pos, n);
    in->pos += n;
    return int(n);
}

struct DecoderCloser {
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

std::vector<TmyPixel> ColorsOf(const ColorMapObject* map)
{
    std::vector<TmyPixel> colors;
    if (!map || !map->Colors || map->ColorCount <= 0)
        return colors;
    colors.reserve(std::size_t(std::min(map->ColorCount, 256)));
    for (int i = 0; i < map->ColorCount && i < 256; ++i)
        colors.push_back(TmyPixel::CreateRGBA(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue, 255));
    return colors;
}

// Reads the raster of the frame whose descriptor was just read. False when the data breaks off.
bool ReadRaster(GifFileType* gif, GifFrame& frame, bool interlaced)
{
    if (frame.Width == 0 || frame.Height == 0)
        return true;
    frame.Indices.assign(std::size_t(frame.Width) * std::size_t(frame.Height), 0);
    auto line = [&](int row) {
        return DGifGetLine(gif, frame.Indices.data() + std::size_t(row) * std::size_t(frame.Width), frame.Width) == GIF_OK;
    };
    if (interlaced) {
        static const int start[4] = {0, 4, 2, 1};
        static const int step[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int row = start[pass]; row < frame.Height; row += step[pass])
                if (!line(row))
                    return false;
    } else {
        for (int row = 0; row < frame.Height; ++row)
            if (!line(row))
                return false;
    }
    return true;
}

} // namespace

GifPicture DecodeGif(const std::uint8_t* data, std::size_t size)
{
    MemoryInput in{data, size, 0};
    int error = 0;
    std::unique_ptr<GifFileType, DecoderCloser> gif(DGifOpen(&in, ReadFromMemory, &error));
    if (!gif)
        Bad(GifError(error));
    GifPicture out;
    out.ScreenWidth = gif->SWidth;
    out.ScreenHeight = gif->SHeight;
    CheckPictureSize(out.ScreenWidth, out.ScreenHeight, "GIF");
    const std::vector<TmyPixel> global = ColorsOf(gif->SColorMap);

    // All frames together may hold no more pixels than one picture of the largest size.
    std::int64_t budget = TmyImage::MaxPixels;
    GraphicsControlBlock gcb{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    bool haveGcb = false;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR)
            break;
        if (type == TERMINATE_RECORD_TYPE)
            break;
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* ext = nullptr;
            if (DGifGetExtension(gif.get(), &code, &ext) == GIF_ERROR)
                break;
            if (code == GRAPHICS_EXT_FUNC_CODE && ext && ext[0] >= 4) {
                if (DGifExtensionToGCB(ext[0], ext + 1, &gcb) == GIF_OK)
                    haveGcb = true;
            }
            bool broken = false;
            while (ext) {
                if (DGifGetExtensionNext(gif.get(), &ext) == GIF_ERROR) {
                    broken = true;
                    break;
                }
            }
            if (broken)
                break;
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE)
            break;
        if (DGifGetImageDesc(gif.get()) == GIF_ERROR)
            break;
        const GifImageDesc& desc = gif->Image;
        GifFrame frame;
        frame.Left = desc.Left;
        frame.Top = desc.Top;
        frame.Width = desc.Width;
        frame.Height = desc.Height;
        if (frame.Width < 0 || frame.Height < 0 || frame.Width > MaxPictureSide || frame.Height > MaxPictureSide)
            Bad(QStringLiteral("a frame is too large"));
        const std::int64_t pixels = std::int64_t(frame.Width) * frame.Height;
        if (pixels > budget)
            Bad(QStringLiteral("the frames are too large"));
        budget -= pixels;
        frame.Colors = desc.ColorMap ? ColorsOf(desc.ColorMap) : global;
        if (haveGcb) {
            frame.TransparentIndex = gcb.TransparentColor;
            frame.Disposal = gcb.DisposalMode;
        }
        haveGcb = false;
        gcb = GraphicsControlBlock{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
        const bool complete = ReadRaster(gif.get(), frame, desc.Interlace);
        // A frame whose data breaks off keeps the rows decoded so far (the rest are index 0)
        // and ends the file.
        out.Frames.push_back(std::move(frame));
        if (!complete)
            break;
    }
    if (out.Frames.empty())
        Bad(QStringLiteral("it holds no image"));
    return out;
}

namespace {

struct EncoderCloser {
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        EGifCloseFile(gif, &error);
    }
};

int WriteToMemory(GifFileType* gif, const GifByteType* bytes, int length)
{
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    try {
        out->insert(out->end(), bytes, bytes + length);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return length;
}

struct MapFree {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

} // namespace

QByteArray EncodeGif(int width, int height, const std::vector<std::uint8_t>& indices, const std::vector<TmyPixel>& colors,
                     int transparentIndex)
{
    if (width < 1 || height < 1 || width > 65535 || height > 65535
        || indices.size() != std::size_t(width) * std::size_t(height) || colors.empty() || colors.size() > 256)
        throw Error(QStringLiteral("Cannot encode the GIF picture"));
    int tableSize = 2;
    while (tableSize < int(colors.size()))
        tableSize *= 2;
    std::unique_ptr<ColorMapObject, MapFree> map(GifMakeMapObject(tableSize, nullptr));
    if (!map)
        throw std::bad_alloc();
    for (int i = 0; i < tableSize; ++i) {
        const TmyPixel c = i < int(colors.size()) ? colors[std::size_t(i)] : TmyPixel{};
        map->Colors[i] = GifColorType{c.R, c.G, c.B};
    }

    std::vector<std::uint8_t> bytes;
    int error = 0;
    auto fail = [&](GifFileType* gif) {
        throw Error(QStringLiteral("Cannot encode the GIF picture: %1").arg(GifError(gif ? gif->Error : error)));
    };
    {
        std::unique_ptr<GifFileType, EncoderCloser> gif(EGifOpen(&bytes, WriteToMemory, &error));
        if (!gif)
            fail(nullptr);
        EGifSetGifVersion(gif.get(), true);
        if (EGifPutScreenDesc(gif.get(), width, height, map->BitsPerPixel, 0, map.get()) == GIF_ERROR)
            fail(gif.get());
        if (transparentIndex >= 0) {
            GraphicsControlBlock gcb{DISPOSAL_UNSPECIFIED, false, 0, transparentIndex};
            GifByteType ext[4];
            const std::size_t n = EGifGCBToExtension(&gcb, ext);
            if (EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, int(n), ext) == GIF_ERROR)
                fail(gif.get());
        }
        if (EGifPutImageDesc(gif.get(), 0, 0, width, height, false, nullptr) == GIF_ERROR)
            fail(gif.get());
        for (int y = 0; y < height; ++y) {
            auto* row = const_cast<GifPixelType*>(indices.data() + std::size_t(y) * std::size_t(width));
            if (EGifPutLine(gif.get(), row, width) == GIF_ERROR)
                fail(gif.get());
        }
        GifFileType* raw = gif.release();
        if (EGifCloseFile(raw, &error) == GIF_ERROR)
            fail(nullptr);
    }
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

} // namespace glimt
