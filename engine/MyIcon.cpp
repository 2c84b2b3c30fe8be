#include "engine/MyIcon.h"

#include <stdexcept>
#include <utility>

TmyIcon::TmyIcon(const TmyIcon& other) : Kind(other.Kind), Current(other.Current)
{
    Images.reserve(other.Images.size());
    for (const auto& img : other.Images)
        Images.push_back(std::make_unique<TmyImagePal>(*img));
}

TmyIcon& TmyIcon::operator=(const TmyIcon& other)
{
    if (this != &other) {
        TmyIcon copy(other);
        *this = std::move(copy);
    }
    return *this;
}

TmyImagePal* TmyIcon::CurrentImage()
{
    if (Current < 0 || Current >= Count())
        return nullptr;
    return Images[std::size_t(Current)].get();
}

const TmyImagePal* TmyIcon::CurrentImage() const
{
    return const_cast<TmyIcon*>(this)->CurrentImage();
}

TmyImagePal& TmyIcon::AddImage(int height, int width, int bitDepth)
{
    Images.push_back(std::make_unique<TmyImagePal>(height, width, bitDepth));
    Current = Count() - 1;
    return *Images.back();
}

TmyImagePal& TmyIcon::AddImageCopy(const TmyImagePal& image)
{
    Images.push_back(std::make_unique<TmyImagePal>(image));
    Current = Count() - 1;
    return *Images.back();
}

TmyImagePal& TmyIcon::InsertImage(int height, int width, int bitDepth, int index)
{
    if (index < 0 || index > Count())
        throw std::out_of_range("image index out of range");
    auto blank = std::make_unique<TmyImagePal>(height, width, bitDepth);
    Images.push_back(std::make_unique<TmyImagePal>(height, width, bitDepth));
    for (int i = Count() - 1; i > index; --i)
        *Images[std::size_t(i)] = std::move(*Images[std::size_t(i - 1)]);
    Images[std::size_t(index)] = std::move(blank);
    Current = index;
    return *Images[std::size_t(index)];
}

void TmyIcon::DeleteImage(int index)
{
    if (index < 0 || index >= Count())
        throw std::out_of_range("image index out of range");
    for (int i = index; i < Count() - 1; ++i)
        *Images[std::size_t(i)] = std::move(*Images[std::size_t(i + 1)]);
    Images.pop_back();
    Current = 0;
}

void TmyIcon::SwapImages(int a, int b)
{
    std::swap(*Images.at(std::size_t(a)), *Images.at(std::size_t(b)));
}
