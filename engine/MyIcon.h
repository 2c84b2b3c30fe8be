#pragma once
#include "engine/MyImage.h"

#include <memory>
#include <vector>

// The document: the images of one icon or cursor in editing order, one of them current.
// Images live in slots: insert and delete move image contents between slots rather than the
// slots themselves, so never hold a reference to an image across an insert or delete.
class TmyIcon {
public:
    // The kind of file the document was read from (TImageFileType: 0 icon, 1 cursor).
    std::uint8_t Kind = 0;
    // 0-based index of the current image; within 0..Count()-1 while Count() > 0.
    std::int32_t Current = 0;
    std::vector<std::unique_ptr<TmyImagePal>> Images;

    TmyIcon() = default;
    TmyIcon(const TmyIcon& other);
    TmyIcon& operator=(const TmyIcon& other);
    TmyIcon(TmyIcon&&) noexcept = default;
    TmyIcon& operator=(TmyIcon&&) noexcept = default;

    int Count() const { return int(Images.size()); }
    TmyImagePal& Image(int index) { return *Images.at(std::size_t(index)); }
    const TmyImagePal& Image(int index) const { return *Images.at(std::size_t(index)); }
    // The current image, or null while the document has no image.
    TmyImagePal* CurrentImage();
    const TmyImagePal* CurrentImage() const;

    // Appends a new blank image and makes it current.
    TmyImagePal& AddImage(int height, int width, int bitDepth);
    // Appends a copy of an image and makes it current.
    TmyImagePal& AddImageCopy(const TmyImagePal& image);
    // A new blank image at Index (0..Count(); Count() appends), current afterwards; the images
    // from Index on move one slot up.
    TmyImagePal& InsertImage(int height, int width, int bitDepth, int index);
    // Removes the image at Index; the later images move one slot down; Current becomes 0.
    void DeleteImage(int index);
    // Exchanges the contents of two slots.
    void SwapImages(int a, int b);
};
