#include "engine/GifFrames.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace glimt {

namespace {

const GifFrame& FrameAt(const GifPicture& gif, int frameIndex)
{
    if (frameIndex < 0 || std::size_t(frameIndex) >= gif.Frames.size())
        throw std::out_of_range("GIF frame index");
    return gif.Frames[std::size_t(frameIndex)];
}

// The positions 0..count-1 of a sample of `n` screen pixels (n >= count): each picture pixel
// takes the screen pixel at its centre.
std::vector<int> Sample(int n, int count)
{
    std::vector<int> at(std::size_t(std::max(count, 1)));
    for (std::size_t i = 0; i < at.size(); ++i)
        at[i] = int((2 * std::int64_t(i) + 1) * n / (2 * std::int64_t(at.size())));
    return at;
}

std::vector<int> Every(int n)
{
    std::vector<int> at(std::size_t(std::max(n, 1)));
    for (std::size_t i = 0; i < at.size(); ++i)
        at[i] = int(i);
    return at;
}

// The entries of the ascending list `at` that lie in [from, from + length).
std::pair<int, int> Within(const std::vector<int>& at, std::int64_t from, std::int64_t length)
{
    const auto lo = std::lower_bound(at.begin(), at.end(), from, [](int a, std::int64_t b) { return a < b; });
    const auto hi = std::lower_bound(lo, at.end(), from + length, [](int a, std::int64_t b) { return a < b; });
    return {int(lo - at.begin()), int(hi - at.begin())};
}

void DrawInto(TmyImage& picture, const GifSampling& s, const GifFrame& f, int i0, int i1, int j0, int j1)
{
    if (f.Indices.size() != std::size_t(f.Width) * std::size_t(f.Height))
        return;
    for (int j = j0; j < j1; ++j) {
        const std::uint8_t* src = f.Indices.data() + std::size_t(s.Rows[std::size_t(j)] - f.Top) * std::size_t(f.Width);
        TmyPixel* dst = picture.Row(j);
        for (int i = i0; i < i1; ++i) {
            const int index = src[s.Columns[std::size_t(i)] - f.Left];
            if (index == f.TransparentIndex || std::size_t(index) >= f.Colors.size())
                continue;
            const TmyPixel& colour = f.Colors[std::size_t(index)];
            dst[i] = TmyPixel::CreateRGBA(colour.R, colour.G, colour.B, 255);
        }
    }
}

} // namespace

GifSampling GifSampling::Whole(const GifPicture& gif)
{
    return {Every(gif.ScreenWidth), Every(gif.ScreenHeight)};
}

GifSampling GifSampling::Fitting(const GifPicture& gif, int side)
{
    const int w = std::max(gif.ScreenWidth, 1), h = std::max(gif.ScreenHeight, 1);
    side = std::max(side, 1);
    if (w <= side && h <= side)
        return Whole(gif);
    const std::int64_t longer = std::max(w, h);
    const int cw = int(std::max<std::int64_t>(1, (std::int64_t(w) * side + longer / 2) / longer));
    const int ch = int(std::max<std::int64_t>(1, (std::int64_t(h) * side + longer / 2) / longer));
    return {Sample(w, std::min(cw, w)), Sample(h, std::min(ch, h))};
}

GifComposer::GifComposer(const GifPicture& gif, GifSampling sampling)
    : m_gif(gif)
    , m_sampling(std::move(sampling))
    , m_picture(int(m_sampling.Rows.size()), int(m_sampling.Columns.size()))
{
}

GifComposer::Span GifComposer::Covered(const GifFrame& f) const
{
    const auto [i0, i1] = Within(m_sampling.Columns, f.Left, f.Width);
    const auto [j0, j1] = Within(m_sampling.Rows, f.Top, f.Height);
    return {i0, i1, j0, j1};
}

void GifComposer::Draw(int frame, bool thenDispose)
{
    const GifFrame& f = FrameAt(m_gif, frame);
    const Span c = Covered(f);
    m_underFrame = -1;
    m_under = TmyImage();
    if (thenDispose && f.Disposal == 3 && c.i1 > c.i0 && c.j1 > c.j0) {
        m_under = TmyImage(c.j1 - c.j0, c.i1 - c.i0);
        for (int j = c.j0; j < c.j1; ++j)
            std::copy(m_picture.Row(j) + c.i0, m_picture.Row(j) + c.i1, m_under.Row(j - c.j0));
        m_underFrame = frame;
    }
    DrawInto(m_picture, m_sampling, f, c.i0, c.i1, c.j0, c.j1);
}

void GifComposer::Dispose(int frame)
{
    const GifFrame& f = FrameAt(m_gif, frame);
    const Span c = Covered(f);
    if (f.Disposal == 2) {
        for (int j = c.j0; j < c.j1; ++j)
            std::fill(m_picture.Row(j) + c.i0, m_picture.Row(j) + c.i1, TmyPixel{});
    } else if (f.Disposal == 3 && m_underFrame == frame) {
        for (int j = c.j0; j < c.j1; ++j)
            std::copy(m_under.Row(j - c.j0), m_under.Row(j - c.j0) + (c.i1 - c.i0), m_picture.Row(j) + c.i0);
    }
    m_underFrame = -1;
    m_under = TmyImage();
}

void GifComposer::Clear()
{
    m_picture.Fill(TmyPixel{});
    m_underFrame = -1;
}

void ComposeGifFrame(TmyImage& bitmap, const GifPicture& gif, int frameIndex)
{
    const GifFrame& f = FrameAt(gif, frameIndex);
    // The bitmap's own size bounds the frame, whatever the screen says.
    const GifSampling s{Every(bitmap.Width()), Every(bitmap.Height())};
    const auto [i0, i1] = Within(s.Columns, f.Left, f.Width);
    const auto [j0, j1] = Within(s.Rows, f.Top, f.Height);
    DrawInto(bitmap, s, f, i0, i1, j0, j1);
}

TmyImage ComposeGifFrames(const GifPicture& gif, int frameIndex, bool overimpose, const GifSampling& sampling)
{
    FrameAt(gif, frameIndex);
    GifComposer composer(gif, sampling);
    for (int k = overimpose ? 0 : frameIndex; k < frameIndex; ++k) {
        composer.Draw(k);
        composer.Dispose(k);
    }
    composer.Draw(frameIndex, false);
    return composer.TakePicture();
}

TmyImage ComposeGifFrames(const GifPicture& gif, int frameIndex, bool overimpose)
{
    return ComposeGifFrames(gif, frameIndex, overimpose, GifSampling::Whole(gif));
}

void ForEachGifFrame(const GifPicture& gif, bool overimpose, const GifSampling& sampling,
                     const std::function<void(int frame, const TmyImage& picture)>& shown)
{
    GifComposer composer(gif, sampling);
    const int frames = int(gif.Frames.size());
    for (int k = 0; k < frames; ++k) {
        if (!overimpose)
            composer.Clear();
        const bool more = overimpose && k + 1 < frames;
        composer.Draw(k, more);
        shown(k, composer.Picture());
        if (more)
            composer.Dispose(k);
    }
}

} // namespace glimt
