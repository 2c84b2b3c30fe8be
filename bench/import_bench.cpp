// Importing pictures into icon images, side by side with Qt's own image loader doing the same
// decode and scale. Pictures are synthesised once into a temporary folder.
#include "bench/BenchSupport.h"
#include "engine/BmpCodec.h"
#include "engine/JpegCodec.h"
#include "engine/SafeFile.h"
#include "engine/Settings.h"
#include "engine/myimport.h"

#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

std::unique_ptr<QTemporaryDir> g_dir;

// A photograph-like picture: smooth gradients with some noise, opaque.
TmyImage Synthetic(int width, int height)
{
    TmyImage img(height, width);
    std::uint32_t seed = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int noise = int((seed >> 16) & 15);
            img.Pixel(x, y) = TmyPixel::CreateRGBA(std::uint8_t((x * 255 / width + noise) & 255),
                                                   std::uint8_t((y * 255 / height + noise) & 255),
                                                   std::uint8_t(((x + y) * 127 / (width + height) + noise) & 255), 255);
        }
    return img;
}

QString File(const char* name)
{
    return g_dir->filePath(QString::fromLatin1(name));
}

void MakeFiles()
{
    const TmyImage mid = Synthetic(1024, 768);
    glimt::WriteFileAtomically(File("mid.jpg"), glimt::EncodeJpeg(mid));
    // The PNG as another program writes it (libpng's default compression and filters), so that
    // the row does not depend on Glimt's own encoder.
    mid.ToQImage().convertToFormat(QImage::Format_RGB888).save(File("mid.png"), "PNG");
    mid.ToQImage().save(File("mid-rgba.png"), "PNG");
    glimt::WriteFileAtomically(File("mid.bmp"), glimt::EncodeBmp(mid, 24));
    glimt::WriteFileAtomically(File("big.jpg"), glimt::EncodeJpeg(Synthetic(4000, 3000)));
}

void GlimtImport(const QString& path, int side)
{
    const bool jpeg = path.endsWith(".jpg"), png = path.endsWith(".png");
    TmyImagePal image(side, side, 32);
    const bool ok = jpeg ? TmyImport::ImportJpeg(path, image, side, side, false)
                    : png ? TmyImport::ImportPng(path, image, side, side, false)
                          : TmyImport::ImportBmp(path, image, side, side, false);
    if (!ok)
        std::abort();
    benchmark::DoNotOptimize(image.Data());
}

// Qt's loader: decode (with the reader's own scaled decoding where the format has one) and
// smooth scaling to the same box.
void QtImport(const QString& path, int side)
{
    QImageReader reader(path);
    const QSize size = reader.size().scaled(side, side, Qt::KeepAspectRatio);
    reader.setScaledSize(size);
    QImage img = reader.read();
    if (img.isNull())
        std::abort();
    if (img.size() != size)
        img = img.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    benchmark::DoNotOptimize(img.constBits());
}

// Glimt's import of a picture file into a side x side image (resized, keeping the aspect
// ratio) beside QImageReader and a smooth scale; the goal is to be no slower than Qt.
void Import_vsQImageReader(benchmark::State& state, const char* name, int side)
{
    Options().ClipboardAction = 0;
    Options().KeepAspectRatio = true;
    const QString path = File(name);
    glimt::bench::SideBySide(
        state, 1.0, [&] { GlimtImport(path, side); }, [&] { QtImport(path, side); });
}

BENCHMARK_CAPTURE(Import_vsQImageReader, bmp_1024x768_to_48, "mid.bmp", 48)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Import_vsQImageReader, png_1024x768_to_48, "mid.png", 48)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Import_vsQImageReader, png_rgba_1024x768_to_48, "mid-rgba.png", 48)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Import_vsQImageReader, jpeg_1024x768_to_48, "mid.jpg", 48)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Import_vsQImageReader, jpeg_4000x3000_to_256, "big.jpg", 256)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    g_dir = std::make_unique<QTemporaryDir>();
    MakeFiles();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_dir.reset();
    return 0;
}
