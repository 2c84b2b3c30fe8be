#pragma once
#include "engine/MyPixel.h"

#include <QString>
#include <vector>

// The colour table of an indexed image: 2, 16 or 256 opaque entries in practice.
// Entries are created opaque (A = 255) and keep that alpha; loading a file changes R, G, B only.
class TmyPalette {
public:
    std::vector<TmyPixel> Colors;

    // Count <= 0 gives an empty palette; otherwise Count opaque black entries, then the
    // defaults when Count is 2, 16 or 256.
    explicit TmyPalette(int count = 0);

    int Count() const { return int(Colors.size()); }
    // Discards the colours: Count opaque black entries, then the defaults for 2, 16 or 256.
    void SetCount(int count);
    // A null source changes nothing; otherwise a copy of the source's entries.
    void Assign(const TmyPalette* source);
    bool Equals(const TmyPalette& other) const;
    // First entry equal in all four bytes; searches at most 256 entries; -1 when none.
    int IndexOf(const TmyPixel& pixel) const;
    // First entry whose colour value equals `color`; alpha plays no part; at most 256 entries.
    int IndexOfColor(TColor color) const;
    // The pixel with its alpha kept and the R, G, B of the nearest entry (sum of absolute
    // differences, lowest index on a tie). An empty palette returns the pixel unchanged.
    TmyPixel NearestColor(const TmyPixel& pixel) const;
    // Index of the nearest entry as NearestColor picks it, -1 for an empty palette.
    int NearestIndex(const TmyPixel& pixel) const;
    // True when one of the entries 0..min(upTo, Count-1) has the pixel's R, G and B.
    bool ContainsRGB(const TmyPixel& pixel, int upTo) const;

    void FillDefault2();
    void FillDefault16();
    void FillDefault256();

    // Palette files: ".pal" (RIFF) or ".act" (colour table), chosen by the extension.
    // Messages and the overwrite question go through the prompts of glimt::Prompts().
    // A file that cannot be opened or created throws glimt::FileError.
    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName) const;
    void LoadRiffPalette(const QString& fileName);
    void LoadActPalette(const QString& fileName);
    void SaveRiffPalette(const QString& fileName) const;
    void SaveActPalette(const QString& fileName) const;

    friend bool operator==(const TmyPalette& a, const TmyPalette& b) { return a.Equals(b); }

private:
    void ApplyDefaults();
};

// Size of a file in bytes; throws glimt::FileError when it cannot be opened.
qint64 FileSizeOf(const QString& fileName);
