#pragma once
#include "engine/MyImage.h"

#include <cstdint>

// The whole-image operations: resampling and resizing, rotation, shifts, quarter turns and
// flips, and the colour operations with the rule that decides whether an indexed image's
// palette changes too. Plain routines without state; each changes the image it is given in
// place. Undo, fitting the image back to a palette afterwards and redrawing are the callers'.
//
// Percent amounts become bytes as p * 255 div 100. The colour operations change only pixels
// whose A is not 0.
namespace TmyAdjustments {

// Area-averaging resample of `source` into the size `destination` already has.
void ResampleArea(const TmyImage& source, TmyImage& destination);
// Resizes by ResampleArea; sides below 1 are taken as 1. Below 32 bits alpha becomes 0 or 255
// (A < 128 transparent); transparent pixels become 0, 0, 0, 0. The palette is kept.
void ResizeImage(TmyImagePal& image, int NewWidth, int NewHeight);

// Bilinear rotation of `source` by Angle degrees about (CenterX, CenterY), drawn into
// `destination` (sizes may differ; the centres align). Destination pixels no sample reaches
// keep their value.
void RotateBitmapBilinear(const TmyImage& source, TmyImage& destination, double CenterX, double CenterY,
    long double Angle);
// Rotation within the image's own size; what no sample reaches becomes transparent.
void RotateImage(TmyImagePal& image, int CenterX, int CenterY, double Angle);

// Shifts by n pixels; the pixels shifted in are 0, 0, 0, 0.
void ShiftLeft(TmyImagePal& image, std::uint8_t n);
void ShiftRight(TmyImagePal& image, std::uint8_t n);
void ShiftUp(TmyImagePal& image, std::uint8_t n);
void ShiftDown(TmyImagePal& image, std::uint8_t n);

// Quarter turns anticlockwise and clockwise; the zoom is recomputed for the new size.
void RotateLeft90(TmyImagePal& image);
void RotateRight90(TmyImagePal& image);
void FlipHorizontal(TmyImagePal& image);
void FlipVertical(TmyImagePal& image);

void InvertImage(TmyImagePal& image);
// Mode 1 swaps red and green, 2 red and blue, 3 green and blue.
void SwapChannels(TmyImagePal& image, int mode);
// Mode 0 grey, 1 red, 2 green, 3 blue, 4 yellow, 5 cyan, 6 magenta.
void ColorizeImage(TmyImagePal& image, int mode);
// With SkipPalette only the pixels change: no question, no palette change, no remapping.
void AdjustHueSatLight(TmyImagePal& image, int Hue, int Saturation, int Lightness, bool SkipPalette);
// Amounts in percent of 255, added to each channel.
void AdjustColorBalance(TmyImagePal& image, int Red, int Green, int Blue, bool SkipPalette);
// Brightness in percent of 255; Contrast from -100 to 100 (values beyond are taken as the
// nearest end of that range).
void AdjustBrightnessContrast(TmyImagePal& image, int Brightness, int Contrast, bool SkipPalette);
// Shifts the alpha of every visible pixel of a 32-bit image by Percent of 255; other depths
// are left alone.
void AdjustOpacity(TmyImagePal& image, int Percent);

// Whether the palette of an indexed image changes with its pixels: never for 24 and 32 bits;
// otherwise TOptions.PaletteAction, asking the change-palette question when it is 2. When the
// answer is to keep the palette, the (already changed) pixels are mapped to it here.
bool ConfirmPaletteChange(TmyImagePal& image);

// The per-colour steps of the operations above.
void InvertPixel(std::uint8_t& R, std::uint8_t& G, std::uint8_t& B);
void SwapPixelChannels(std::uint8_t& R, std::uint8_t& G, std::uint8_t& B, int mode);
void ColorizePixel(std::uint8_t& R, std::uint8_t& G, std::uint8_t& B, int mode);
void HueSatLightPixel(std::uint8_t& R, std::uint8_t& G, std::uint8_t& B, int dH, int dS, int dL);
void ColorBalancePixel(std::uint8_t& R, std::uint8_t& G, std::uint8_t& B, int dR, int dG, int dB);
void BrightnessPixel(std::uint8_t& R, std::uint8_t& G, std::uint8_t& B, int amount);
// contrast from -100 to 100; values beyond are taken as the nearest end.
void ContrastPixel(std::uint8_t& R, std::uint8_t& G, std::uint8_t& B, int contrast);
// A of 0 stays 0; any other value moves by amount, clamped to 0..255.
void AddClampByte(std::uint8_t& value, int amount);

} // namespace TmyAdjustments
