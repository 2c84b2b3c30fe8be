#pragma once
#include "engine/MyIcon.h"
#include "engine/Prompts.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>

// The 40-byte bitmap header that starts an icon image stored as a bitmap.
struct TBitmapInfoHeader {
    std::uint32_t biSize = 0;
    std::int32_t biWidth = 0;
    std::int32_t biHeight = 0; // colour rows and mask rows together
    std::uint16_t biPlanes = 0;
    std::uint16_t biBitCount = 0;
    std::uint32_t biCompression = 0;
    std::uint32_t biSizeImage = 0;
    std::int32_t biXPelsPerMeter = 0;
    std::int32_t biYPelsPerMeter = 0;
    std::uint32_t biClrUsed = 0;
    std::uint32_t biClrImportant = 0;
};

// Reads icon (".ico") and cursor (".cur") files into documents and writes icon files.
// Images are stored in a file as bitmaps (palette, colour rows, 1-bit mask) or as complete PNG
// files. Messages go through glimt::Prompts() and are dropped when ShowMessages is false.
class TmyIcoIO {
public:
    explicit TmyIcoIO(bool showMessages) : ShowMessages(showMessages) {}

    bool ShowMessages;

    // Reads a file. On a valid header `icon` receives a new document (also when the result is
    // false); on an invalid one it is left alone. True when at least one image was read; the
    // images are then in editing order. Throws glimt::FileError when the file cannot be read.
    // Besides the messages of single entries (too big, unsupported depth), a load names the
    // file when it went wrong: "Invalid File Format!" and the name (an error) when the header
    // or the directory is refused, when there are no entries, or when no image could be read
    // and some entries were damaged; "msgDamagedIcon" (a warning) when some images were read
    // and DamagedEntries others could not be.
    bool LoadFromFile(std::unique_ptr<TmyIcon>& icon, const QString& fileName);
    // The same over bytes already in memory; `fileName` is the name the messages give (without
    // one only the messages of the header and of single entries are given).
    bool LoadFromBytes(std::unique_ptr<TmyIcon>& icon, const QByteArray& bytes, const QString& fileName = QString());

    // Set by every load: the number of directory entries, and how many of them were skipped
    // without a message of their own because their data is damaged (outside the file, shared
    // with another entry, of impossible size, or a PNG that does not decode).
    int Entries = 0;
    int DamagedEntries = 0;

    // Writes the document as an icon file (type 1), replacing the file only once the whole new
    // content is written; on failure glimt::FileError is thrown and the old file is untouched.
    // 256 x 256 images are stored as PNG when `compress` is set. The document is in editing
    // order afterwards, whether or not the save succeeded.
    void SaveToFile(TmyIcon& icon, const QString& fileName, bool compress);
    // The bytes SaveToFile writes (the document is in editing order afterwards).
    QByteArray SaveToBytes(TmyIcon& icon, bool compress);

    // Editing order: bit depth, then width, then height, all descending; equal images keep
    // their order. Current becomes the last image of the current one's size and depth.
    // True when any image moved.
    static bool SortImages(TmyIcon& icon);
    // File order: as SortImages but with bit depth ascending.
    static bool SortForFile(TmyIcon& icon);

    // A message box with OK when ShowMessages is set.
    void ReportMessage(const QString& text, glimt::TMsgKind kind) const;

    static bool IsBitmapHeader(const TBitmapInfoHeader& header)
    {
        return header.biSize == 40 && header.biPlanes == 1 && header.biCompression == 0;
    }

    // Bytes of the palette and colour rows of a bitmap image (0 for an unknown depth).
    static std::int64_t XorDataSize(int height, int width, int bitDepth);
    // Bytes of the mask rows.
    static std::int64_t AndMaskSize(int height, int width);
    // Length of the PNG form of the image, exactly as the writer stores it.
    static std::int64_t PngByteSize(const TmyImagePal& image);
    // The PNG form: 8-bit RGBA, colour 0, 0, 0 where A = 0.
    static QByteArray ImageToPng(const TmyImagePal& image);

private:
    int ReadEntries(TmyIcon& icon, const std::uint8_t* data, std::size_t size, int count);
    void ReportInvalidFormat(const QString& fileName) const;
    void WriteDib(QByteArray& out, const TmyImagePal& image) const;
};
