#pragma once
#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace glimt::test {

// A minimal writer of modules that hold nothing but icon resources, for tests: PE32, PE32+
// (one ".rsrc" section) and the 16-bit NE format of icon libraries. Resources are written in
// the order they are added, so a test chooses the order the reader must report.
class ExeBuilder {
public:
    enum class Format { Pe32, Pe32Plus, Ne };

    // Where the parts of the last built file lie, for tests that damage them.
    struct Layout {
        std::uint64_t header = 0;        // "PE\0\0" or "NE"
        std::uint64_t sectionTable = 0;  // PE: the one section header
        std::uint64_t rvaCount = 0;      // PE: the count of data directories
        std::uint64_t resourceDir = 0;   // PE: the data directory of the resources
        std::uint64_t resources = 0;     // PE: the resource section; NE: the resource table
        std::uint64_t firstData = 0;     // the bytes of the first resource added
    };

    // An icon resource; `extraDeclared` bytes are added to the size the module declares for it
    // (so it claims more than it holds).
    ExeBuilder& AddIcon(std::uint16_t id, const QByteArray& data, std::uint32_t extraDeclared = 0);
    // An icon-group resource under a numeric identifier or a name, with raw bytes.
    ExeBuilder& AddGroup(std::uint16_t id, const QByteArray& data);
    ExeBuilder& AddGroup(const QString& name, const QByteArray& data);
    // NE alignment shift (4 by default); the resources must fit below 65536 << shift bytes.
    ExeBuilder& SetNeShift(int shift);

    QByteArray Build(Format format, Layout* layout = nullptr) const;

private:
    struct Res {
        std::uint16_t type = 0;
        bool named = false;
        std::uint16_t id = 0;
        QString name;
        QByteArray data;
        std::uint32_t extraDeclared = 0;
    };
    QByteArray BuildPe(bool plus, Layout* layout) const;
    QByteArray BuildNe(Layout* layout) const;

    std::vector<Res> m_res;
    int m_neShift = 4;
};

// The bytes of an icon image as an icon resource holds it: a 40-byte bitmap header
// (biSizeImage set, not 0), a palette of 2^bits entries for depths up to 8, colour rows with a
// pattern, and an all-opaque mask. 16x16 4-bit is 296 bytes, 32x32 4-bit 744, 48x48 32-bit 9640.
QByteArray DibImage(int width, int height, int bits, std::uint8_t seed = 1);
// A real PNG file of the size (opaque pixels of one colour).
QByteArray PngImage(int width, int height);

// An icon (type 1) or cursor (type 2) file of the images, in order, each described as
// EntryFor does (a cursor's hot spot is 3, 5).
QByteArray IconFileOf(std::uint16_t type, const std::vector<QByteArray>& images);

// An animated cursor (RIFF "ACON") whose "fram" list holds the given icon or cursor files.
QByteArray AnimatedCursorOf(const std::vector<QByteArray>& frames);

// One entry of an icon-group resource.
struct GroupEntry {
    std::uint8_t width = 0;
    std::uint8_t height = 0;
    std::uint8_t colors = 0;
    std::uint16_t planes = 1;
    std::uint16_t bits = 0;
    std::uint32_t bytes = 0;
    std::uint16_t id = 0;
};
// An icon-group resource: reserved 0, type 1, the count and the entries.
QByteArray GroupResource(const std::vector<GroupEntry>& entries);
// The group entry that describes an image made by DibImage or PngImage, under `id`.
GroupEntry EntryFor(const QByteArray& image, std::uint16_t id);

} // namespace glimt::test
