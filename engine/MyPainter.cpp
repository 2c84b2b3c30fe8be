#include "engine/MyPainter.h"

#include "engine/Settings.h"

#include <cmath>

// The HSV conversions keep their variables in single precision while every expression is
// evaluated in extended precision and rounded once when it is stored; long double gives the
// same intermediates, and the colours depend on them at sector borders.
namespace {

using Real = long double;

std::int32_t RoundHalfEven(Real x)
{
    return std::int32_t(std::nearbyint(x));
}

} // namespace

namespace TmyPainter {

void CompositePixel(TmyPixel& NewPixel, const TmyPixel& Existing, bool Force)
{
    if ((NewPixel.A == 0 || NewPixel.A == 255) && !Force)
        return;
    if (Existing.A == 0)
        return;
    if (!NewPixel.SameRGB(Existing)) {
        NewPixel.R = BlendChannels(NewPixel.R, Existing.R, NewPixel.A, Existing.A);
        NewPixel.G = BlendChannels(NewPixel.G, Existing.G, NewPixel.A, Existing.A);
        NewPixel.B = BlendChannels(NewPixel.B, Existing.B, NewPixel.A, Existing.A);
    }
    const Real a = Real((255 - Existing.A) * NewPixel.A) / 255;
    NewPixel.A = std::uint8_t(RoundHalfEven(a) + Existing.A);
}

std::uint8_t BlendChannels(std::uint8_t Ct, std::uint8_t Cb, std::uint8_t At, std::uint8_t Ab)
{
    const int e = At * Ab / 255;
    return std::uint8_t((Cb * (Ab - e) + At * Ct) / (Ab + At - e));
}

TColor BlendOverBackground(const TmyPixel& background, const TmyPixel& pixel)
{
    const std::uint8_t a = std::uint8_t(255 - pixel.A);
    TmyPixel out;
    out.R = LerpChannel(background.R, pixel.R, a);
    out.G = LerpChannel(background.G, pixel.G, a);
    out.B = LerpChannel(background.B, pixel.B, a);
    return out.GetColor();
}

void HSVToRGB(std::int32_t H, std::int32_t S, std::int32_t V, std::int32_t& R, std::int32_t& G, std::int32_t& B)
{
    float h = float(Real(H) / 360);
    const float s = float(Real(S) / 100);
    const float v = float(Real(V * 255) / 100);
    if (h < 0) {
        R = G = B = RoundHalfEven(v);
        return;
    }
    h = float(h / 0.16666666666666666667L);
    const int sector = int(std::floor(h));
    const float f = float(Real(h) - sector);
    const float p = float(v * (1 - Real(s)));
    const float q = float(v * (1 - Real(s) * f));
    const float t = float(v * (1 - Real(s) * (1 - Real(f))));
    float r, g, b;
    switch (sector) {
    case 0: r = v; g = t; b = p; break;
    case 1: r = q; g = v; b = p; break;
    case 2: r = p; g = v; b = t; break;
    case 3: r = p; g = q; b = v; break;
    case 4: r = t; g = p; b = v; break;
    default: r = v; g = p; b = q; break;
    }
    R = RoundHalfEven(r);
    G = RoundHalfEven(g);
    B = RoundHalfEven(b);
}

void RGBToHSV(float R, float G, float B, std::int32_t& H, std::int32_t& S, std::int32_t& V)
{
    const float c[3] = {R, G, B};
    int lo = 0, hi = 0;
    if (c[1] < c[lo]) lo = 1;
    if (c[2] < c[lo]) lo = 2;
    if (c[1] > c[hi]) hi = 1;
    if (c[2] > c[hi]) hi = 2;
    const float mx = c[hi];
    const float d = float(Real(mx) - c[lo]);
    float h, s, v;
    if (d == 0) {
        h = -1;
        s = 0;
        v = R;
    } else {
        if (hi == 0)
            h = float((Real(G) - B) / d);
        else if (hi == 1)
            h = float((Real(B) - R) / d + 2);
        else
            h = float((Real(R) - G) / d + 4);
        s = float(Real(d) / mx);
        v = mx;
        h = float(h * (1.0L / 6));
        if (h < 0)
            h = float(Real(h) + 1);
    }
    H = RoundHalfEven(Real(h) * 360);
    S = RoundHalfEven(Real(s) * 100);
    V = RoundHalfEven(Real(v) * 100 / 255);
}

TColor CheckerColor(std::int32_t x, std::int32_t y)
{
    return glimt::Checkerboard::FromOptions().ColorAt(x, y);
}

} // namespace TmyPainter

namespace glimt {

Checkerboard Checkerboard::FromOptions()
{
    const TOptions& o = Options();
    return {o.BKSize == 0 ? 1 : int(o.BKSize), o.Color1, o.Color2};
}

} // namespace glimt
