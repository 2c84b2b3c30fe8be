// Loading and saving icons, each row side by side with its peer in the same run:
// - loading every image of icons shaped like real ones (a 256x256 palette PNG with a
//   transparent colour, then 48, 32 and 16 at 32, 8 and 4 bits), and of the real icons in
//   ../shared/testdata when present, beside Qt's own ICO reader reading the same bytes;
// - saving a photo-like 256x256 icon with 48, 32 and 16 (the large image as PNG), and the
//   real-shaped icon, beside a plain zlib level-6 deflate of the 256x256 image's pixels.
// With GLIMT_BENCH_DUMP=<folder> the photo icon's images are written there as PNG files, with
// Glimt's icon of them, for comparing the writer with other programs.
#include "bench/BenchSupport.h"
#include "engine/MyIcoIO.h"
#include "engine/SafeFile.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QImageReader>

#include <zlib.h>

#include <benchmark/benchmark.h>

namespace {

using glimt::bench::SideBySide;

std::vector<QByteArray> RealShaped()
{
    std::vector<QByteArray> files;
    for (unsigned seed = 1; seed <= 7; ++seed)
        files.push_back(glimt::bench::RealShapedIcon(seed));
    return files;
}

int GlimtLoadAll(const std::vector<QByteArray>& files)
{
    TmyIcoIO io(false);
    int images = 0;
    for (const QByteArray& bytes : files) {
        std::unique_ptr<TmyIcon> icon;
        if (io.LoadFromBytes(icon, bytes))
            images += icon->Count();
        benchmark::DoNotOptimize(icon);
    }
    return images;
}

int QtLoadAll(const std::vector<QByteArray>& files)
{
    int images = 0;
    for (QByteArray bytes : files) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "ico");
        do {
            const QImage img = reader.read();
            if (img.isNull())
                break;
            benchmark::DoNotOptimize(img.constBits());
            ++images;
        } while (reader.jumpToNextImage());
    }
    return images;
}

void LoadSideBySide(benchmark::State& state, const std::vector<QByteArray>& files)
{
    if (files.empty()) {
        state.SkipWithError("no real icons (../shared/testdata is absent)");
        return;
    }
    int glimtImages = 0, qtImages = 0;
    SideBySide(
        state, 0.5, [&] { glimtImages = GlimtLoadAll(files); }, [&] { qtImages = QtLoadAll(files); });
    state.counters["images"] = glimtImages;
    state.counters["qt_images"] = qtImages;
}

// Seven icons shaped like real ones; the goal is at most half of Qt's time.
void BM_LoadRealShaped_vsQtIco(benchmark::State& state)
{
    static const std::vector<QByteArray> files = RealShaped();
    LoadSideBySide(state, files);
}
BENCHMARK(BM_LoadRealShaped_vsQtIco)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The multi-image icons of ../shared/testdata.
void BM_LoadRealIcons_vsQtIco(benchmark::State& state)
{
    static const std::vector<QByteArray> files = glimt::bench::RealIcons(4);
    LoadSideBySide(state, files);
}
BENCHMARK(BM_LoadRealIcons_vsQtIco)->UseManualTime()->Unit(benchmark::kMicrosecond);

// A photo-like icon: 256x256 with round corners, 48, 32 and 16, all 32 bits.
TmyIcon PhotoIcon()
{
    TmyIcon icon;
    for (int side : {256, 48, 32, 16}) {
        TmyImagePal& img = icon.AddImage(side, side, 32);
        static_cast<TmyImage&>(img) = glimt::bench::PhotoIcon(side);
    }
    return icon;
}

const TmyImagePal* Large(const TmyIcon& icon)
{
    for (const auto& img : icon.Images)
        if (img->Width() == 256 && img->Height() == 256)
            return img.get();
    return nullptr;
}

// The 256x256 image's pixels as the writer stores them (transparent pixels 0, 0, 0, 0).
QByteArray RawPixels(const TmyImagePal& img)
{
    QByteArray raw(reinterpret_cast<const char*>(img.Data()), qsizetype(img.PixelCount() * 4));
    for (qsizetype i = 0; i < raw.size(); i += 4)
        if (raw[i + 3] == 0)
            raw[i] = raw[i + 1] = raw[i + 2] = 0;
    return raw;
}

// zlib at level 6 over the pixels as they are: the floor a PNG writer is measured against.
uLong Deflate6(const QByteArray& raw, std::vector<Bytef>& out)
{
    uLongf size = compressBound(uLong(raw.size()));
    out.resize(size);
    compress2(out.data(), &size, reinterpret_cast<const Bytef*>(raw.constData()), uLong(raw.size()), 6);
    return size;
}

void SaveSideBySide(benchmark::State& state, TmyIcon& icon)
{
    const TmyImagePal* large = Large(icon);
    if (!large) {
        state.SkipWithError("no 256x256 image");
        return;
    }
    const QByteArray raw = RawPixels(*large);
    std::vector<Bytef> deflated;
    TmyIcoIO io(false);
    qsizetype fileBytes = 0;
    uLong deflateBytes = 0;
    SideBySide(
        state, 1.5,
        [&] {
            const QByteArray out = io.SaveToBytes(icon, true);
            fileBytes = out.size();
            benchmark::DoNotOptimize(out.constData());
        },
        [&] { deflateBytes = Deflate6(raw, deflated); });
    state.counters["file_bytes"] = double(fileBytes);
    state.counters["deflate6_bytes"] = double(deflateBytes);
    state.counters["png_bytes"] = double(TmyIcoIO::PngByteSize(*Large(icon)));
}

void BM_SavePhotoIcon_vsDeflate6(benchmark::State& state)
{
    TmyIcon icon = PhotoIcon();
    SaveSideBySide(state, icon);
}
BENCHMARK(BM_SavePhotoIcon_vsDeflate6)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_SaveRealShaped_vsDeflate6(benchmark::State& state)
{
    std::unique_ptr<TmyIcon> icon;
    if (!TmyIcoIO(false).LoadFromBytes(icon, glimt::bench::RealShapedIcon(1))) {
        state.SkipWithError("load failed");
        return;
    }
    SaveSideBySide(state, *icon);
}
BENCHMARK(BM_SaveRealShaped_vsDeflate6)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Every image as a bitmap (no PNG): the rest of the writer.
void BM_SaveBitmapsOnly(benchmark::State& state)
{
    std::unique_ptr<TmyIcon> icon;
    TmyIcoIO io(false);
    io.LoadFromBytes(icon, glimt::bench::RealShapedIcon(1));
    for (auto _ : state) {
        const QByteArray out = io.SaveToBytes(*icon, false);
        benchmark::DoNotOptimize(out.constData());
    }
}
BENCHMARK(BM_SaveBitmapsOnly)->Unit(benchmark::kMicrosecond);

void Dump(const QString& folder)
{
    QDir().mkpath(folder);
    TmyIcon icon = PhotoIcon();
    for (const auto& img : icon.Images)
        img->ToQImage().save(QDir(folder).filePath(QStringLiteral("photo-%1.png").arg(img->Width())));
    glimt::WriteFileAtomically(QDir(folder).filePath(QStringLiteral("photo-glimt.ico")),
                               TmyIcoIO(false).SaveToBytes(icon, true));
    std::unique_ptr<TmyIcon> shaped;
    TmyIcoIO(false).LoadFromBytes(shaped, glimt::bench::RealShapedIcon(1));
    glimt::WriteFileAtomically(QDir(folder).filePath(QStringLiteral("shaped-source.ico")), glimt::bench::RealShapedIcon(1));
    for (const auto& img : shaped->Images)
        img->ToQImage().save(
            QDir(folder).filePath(QStringLiteral("shaped-%1-%2.png").arg(img->Width()).arg(int(img->BitDepth))));
    glimt::WriteFileAtomically(QDir(folder).filePath(QStringLiteral("shaped-glimt.ico")),
                               TmyIcoIO(false).SaveToBytes(*shaped, true));
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("GLIMT_BENCH_DUMP"))
        Dump(qEnvironmentVariable("GLIMT_BENCH_DUMP"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
