#pragma once
#include <QImage>

namespace glimt {

// The system clipboard as the core sees it: one picture, put there as a plain bitmap without
// alpha. The program uses QtClipboard; tests use a fake.
class IClipboard {
public:
    virtual ~IClipboard() = default;
    // True when the clipboard holds a picture.
    virtual bool HasBitmap() const = 0;
    // The picture on the clipboard; a null image when there is none.
    virtual QImage Bitmap() const = 0;
    // Replaces the clipboard's content by the picture.
    virtual void SetBitmap(const QImage& bitmap) = 0;
};

// The application's clipboard (QGuiApplication::clipboard()); needs a QGuiApplication.
class QtClipboard : public IClipboard {
public:
    bool HasBitmap() const override;
    QImage Bitmap() const override;
    void SetBitmap(const QImage& bitmap) override;
};

} // namespace glimt
