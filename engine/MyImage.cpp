#include "engine/MyImage.h"

#include <QImage>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

void CheckSize(int height, int width)
{
    if (height < 1 || width < 1)
        throw std::invalid_argument("image sides must be at least 1");
    if (std::int64_t(height) * std::int64_t(width) > TmyImage::MaxPixels)
        throw std::length_error("image too large");
}

} // namespace

TmyImage::TmyImage(int height, int width)
{
    SetSize(height, width);
}

void TmyImage::SetSize(int height, int width)
{
    CheckSize(height, width);
    m_height = height;
    m_width = width;
    m_pixels.assign(std::size_t(height) * std::size_t(width), TmyPixel{});
}

void TmyImage::SetSizeForOverwrite(int height, int width)
{
    CheckSize(height, width);
    m_height = height;
    m_width = width;
    m_pixels.clear();
    m_pixels.resize(std::size_t(height) * std::size_t(width));
}

void TmyImage::Fill(const TmyPixel& p)
{
    std::fill(m_pixels.begin(), m_pixels.end(), p);
}

bool TmyImage::SamePixels(const TmyImage& other) const
{
    return m_width == other.m_width && m_height == other.m_height && m_pixels == other.m_pixels;
}

void TmyImage::DrawTo(QImage& canvas) const
{
    const int w = std::min(m_width, canvas.width());
    const int h = std::min(m_height, canvas.height());
    for (int y = 0; y < h; ++y) {
        const TmyPixel* src = Row(y);
        for (int x = 0; x < w; ++x) {
            const TmyPixel& p = src[x];
            canvas.setPixel(x, y, p.A == 0 ? qRgb(0, 0, 0) : qRgb(p.R, p.G, p.B));
        }
    }
}

void TmyImage::DrawOpaqueAt(int X, int Y, QImage& canvas) const
{
    for (int y = 0; y < m_height; ++y) {
        const int cy = Y + y;
        if (cy < 0 || cy >= canvas.height())
            continue;
        const TmyPixel* src = Row(y);
        for (int x = 0; x < m_width; ++x) {
            const int cx = X + x;
            if (cx < 0 || cx >= canvas.width() || src[x].A <= 128)
                continue;
            canvas.setPixel(cx, cy, qRgb(src[x].R, src[x].G, src[x].B));
        }
    }
}

QImage TmyImage::ToQImage() const
{
    QImage out(m_width, m_height, QImage::Format_RGBA8888);
    for (int y = 0; y < m_height; ++y)
        std::memcpy(out.scanLine(y), Row(y), std::size_t(m_width) * sizeof(TmyPixel));
    return out;
}

TmyImage TmyImage::FromQImage(const QImage& image)
{
    if (image.isNull())
        return TmyImage(1, 1);
    const QImage src = image.format() == QImage::Format_RGBA8888 ? image : image.convertToFormat(QImage::Format_RGBA8888);
    TmyImage out(src.height(), src.width());
    for (int y = 0; y < src.height(); ++y)
        std::memcpy(out.Row(y), src.constScanLine(y), std::size_t(src.width()) * sizeof(TmyPixel));
    return out;
}

TmyImagePal::TmyImagePal(int height, int width, int bitDepth)
    : TmyImage(height, width), BitDepth(std::uint8_t(bitDepth))
{
    const int entries = PaletteSizeFor(bitDepth);
    if (entries > 0)
        Palette.emplace(entries);
    UpdateZoom();
}

int TmyImagePal::PaletteSizeFor(int bitDepth)
{
    switch (bitDepth) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

void TmyImagePal::UpdateZoom()
{
    Zoom = std::min(512 / std::max(m_width, m_height), 10);
}

void TmyImagePal::CutAlphaToDepth()
{
    if (BitDepth >= 32)
        return;
    for (TmyPixel& p : m_pixels)
        p = glimt::CutAlphaBelow32(p);
}

// Entries take the image's distinct colours (R, G, B; alpha stays 255) in the order the pixels
// are met, row by row from the top and left to right, transparent pixels included, until the
// palette is full. Entries beyond the colours found keep what they held.
void TmyImagePal::BuildPalette()
{
    if (!Palette || Palette->Count() == 0)
        return;
    TmyPalette& pal = *Palette;
    int n = 0;
    const int full = pal.Count();
    // The colours taken so far, in a small open-addressed set (at most 256 of them), so that
    // each pixel costs one lookup instead of a pass over the entries; runs of one colour cost
    // nothing.
    constexpr std::size_t tableSize = 1024;
    std::uint32_t keys[tableSize];
    bool used[tableSize] = {};
    std::uint32_t last = 0xFFFFFFFFu;
    for (const TmyPixel& p : m_pixels) {
        const std::uint32_t rgb = std::uint32_t(p.R) | (std::uint32_t(p.G) << 8) | (std::uint32_t(p.B) << 16);
        if (rgb == last)
            continue;
        last = rgb;
        std::size_t h = (rgb * 2654435761u) >> 22;
        while (used[h] && keys[h] != rgb)
            h = (h + 1) & (tableSize - 1);
        if (used[h])
            continue;
        used[h] = true;
        keys[h] = rgb;
        pal.Colors[std::size_t(n)].SetRGB(p.R, p.G, p.B);
        if (++n == full)
            return;
    }
}
