#pragma once
#include "engine/ByteReader.h"
#include "engine/ExeResources.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// Icon groups of executables and libraries (".exe", ".dll", ".ocx", ".icl"): counted, listed
// and written out as icon files whose image data is copied byte for byte.

// One entry of an icon-group resource (14 bytes in the module).
struct TGroupIconEntry {
    std::uint8_t Width = 0;
    std::uint8_t Height = 0;
    std::uint8_t ColorCount = 0;
    std::uint8_t Reserved = 0;
    std::uint16_t Planes = 0;
    std::uint16_t BitCount = 0;
    std::uint32_t BytesInRes = 0;
    // The numeric name of the image's icon resource.
    std::uint16_t Id = 0;
};

// One image while a group is extracted: the icon resource's bytes and what its header says.
struct TGroupImage {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::int32_t BitCount = 0;
    // A copy of the icon resource's bytes: a bitmap header with its rows, or a PNG file.
    QByteArray Data;
    // The resource's size in bytes (the bytes written for the image).
    std::int32_t Size = 0;
    bool IsPng = false;
    // The group's entry for the image.
    TGroupIconEntry Group;

    // biPlanes and biBitCount of the bitmap header at the start of Data (0 when absent).
    std::uint16_t HeaderPlanes() const;
    std::uint16_t HeaderBitCount() const;
};

// The largest group that is counted and extracted.
constexpr int MaxGroupImages = 50;

// The number of images of group IndexText (decimal, 0-based) of FileName: -1 when the file
// cannot be read as a module; 0 when the group is not found (an index beyond the groups
// included), holds no image or more than MaxGroupImages, or its resource is cut short.
int GetIconGroupCount(const QString& FileName, const QString& IndexText);

// Writes group IndexText of FileName as the icon file IcoFileName; true on success. The file
// is replaced only once it is completely written: on failure an existing file stays as it
// was and none is created. A failed write is reported through the installed prompts.
bool ExtractIconGroup(const QString& FileName, const QString& IcoFileName, const QString& IndexText);

// Appends the listed form of a group's name: " #" and the number for a numeric identifier,
// else a blank and the name. Always true (go on listing).
bool EnumIconGroupName(const glimt::TResName& Name, QStringList& List);

// The resource name a listed name stands for: a text beginning with " #" is the numeric
// identifier after those two characters; any other text is the name itself. When a group is
// looked up, a name "#" followed by digits also stands for that numeric identifier.
glimt::TResName IconGroupResName(const QString& ListedName);

// True when the data begins with a bitmap header with biSize 40, biPlanes 1, biCompression 0.
bool IsDibImage(const QByteArray& Data);

// Width := biWidth, Height := biHeight div 2, BitCount := biPlanes x biBitCount.
bool ReadDibSize(TGroupImage& Image);

// The icon file's 6-byte header: reserved 0, type 1, Count.
void WriteIcoHeaderRaw(glimt::ByteWriter& File, int Count);

// The offset of image Index in the icon file: the header, the directory, and the bytes
// written for every image before it.
std::uint64_t IcoEntryOffset(const std::vector<TGroupImage>& Images, int Index);

// The icon file's directory, one 16-byte entry per image in group order.
void WriteIcoEntries(glimt::ByteWriter& File, const std::vector<TGroupImage>& Images);

namespace glimt {

// The icon file of the images, in order: header, directory and the images' bytes. False when
// the images do not fit into one icon file (over 65535 images or 4 GiB).
bool WriteIconFile(const std::vector<TGroupImage>& images, QByteArray& out);

// The icon groups of one module, read and parsed once; the free functions above read the
// file anew on every call, this serves callers that list or extract many groups.
class TExeIconFile {
public:
    // False when the file cannot be read or is not a module.
    bool Load(const QString& fileName);
    bool LoadBytes(const QByteArray& bytes);

    int GroupCount() const { return int(m_res.Groups().size()); }
    // The groups' names in listed form (" #1", " MAINICON"), in the module's order.
    QStringList GroupNames() const;
    // The group that IndexText names (see GetIconGroupCount), or -1.
    int FindGroup(const QString& indexText) const;

    // The group's entries; false when the group does not exist or its resource is shorter
    // than its count of entries needs.
    bool GroupEntries(int group, std::vector<TGroupIconEntry>& entries) const;
    // The count GetIconGroupCount reports for the group.
    int ImageCount(int group) const;
    // The group as the bytes of an icon file; false when the group is refused: not found,
    // empty, more than MaxGroupImages images, a resource cut short or shorter than the group
    // says, or an entry naming an icon resource the module lacks.
    bool IconFile(int group, QByteArray& out) const;
    // One entry's image with its icon resource's bytes; false when the resource is missing,
    // cut short or shorter than the entry says. With `headerOnly` Data holds no more than the
    // bitmap header (Size is still the whole image's), for choosing among images.
    bool GroupImage(const TGroupIconEntry& entry, TGroupImage& image, bool headerOnly = false) const;
    // IconFile written to `icoFileName` (see ExtractIconGroup).
    bool Extract(int group, const QString& icoFileName) const;

    const TExeResources& Resources() const { return m_res; }

private:
    TExeResources m_res;
};

} // namespace glimt
