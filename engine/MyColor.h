#pragma once
#include "engine/MyPixel.h"

// An RGB colour without alpha (checkerboard and swatch colours).
struct TmyColor {
    std::uint8_t R = 0;
    std::uint8_t G = 0;
    std::uint8_t B = 0;

    static constexpr TmyColor Create() { return {}; }
    static constexpr TmyColor CreateColor(TColor color)
    {
        TmyColor c;
        c.SetColor(color);
        return c;
    }
    constexpr void SetColor(TColor color)
    {
        R = std::uint8_t(color & 0xFF);
        G = std::uint8_t((color >> 8) & 0xFF);
        B = std::uint8_t((color >> 16) & 0xFF);
    }
    constexpr TColor GetColor() const { return TColor(R) | (TColor(G) << 8) | (TColor(B) << 16); }
    friend constexpr bool operator==(const TmyColor&, const TmyColor&) = default;
};
