#include "shell/BatchConvert.h"

#include "engine/Errors.h"
#include "engine/MyIcoIO.h"
#include "engine/MyIcon.h"
#include "engine/PaletteLibrary.h"
#include "engine/SafeFile.h"
#include "engine/ShellIcons.h"
#include "engine/TypeCheck.h"
#include "engine/language.h"
#include "engine/myUndo.h"
#include "engine/myadjustments.h"
#include "engine/myextract.h"
#include "engine/myimport.h"
#include "shell/PictureExport.h"

#include <QDir>
#include <QFileInfo>

namespace glimt {

namespace {

TImageFileType TypeOf(const QString& fileName)
{
    try {
        return DetectImageFileType(fileName);
    } catch (const std::exception&) {
        return iftUnknown;
    }
}

bool IsIconType(TImageFileType t)
{
    return t == iftIco || t == iftCur;
}

// The icon or cursor file read with the reader's messages on; null when it cannot be read.
std::unique_ptr<TmyIcon> ReadIconFile(const QString& fileName)
{
    std::unique_ptr<TmyIcon> icon;
    try {
        if (TmyIcoIO(true).LoadFromFile(icon, fileName) && icon)
            return icon;
    } catch (const std::exception&) {
    }
    return nullptr;
}

QString Base(const QString& fileName)
{
    return QFileInfo(fileName).completeBaseName();
}

// The texts of the log, fetched once per run.
struct Texts {
    QString ErrorOpen = Msg("msgErrorOpen", "Cannot open file");
    QString ErrorSave = Msg("msgErrorSave", "Cannot save file");
    QString SuccessReason = Msg("msgSuccessReason", "File created successfully");
    QString NoIcon = Msg("msgNoIcon", "The file does not contain icons");
    QString Not32Bit = Msg("msgNot32Bit", "This is not a 32bit file. Extraction will not be exact!");
};

class Run {
public:
    Run(const TBatchJob& job, IBatchLog& log) : m_job(job), m_log(log) {}

    // False when stopped.
    bool Go()
    {
        BusyGuard busy;
        const int count = int(m_job.Files.size());
        for (int i = 0; i < count; ++i) {
            if (m_log.ShouldStop())
                return false;
            const QString& file = m_job.Files[i];
            m_log.LogProcessing(QString::number(i + 1) + QLatin1Char('/') + QString::number(count), file);
            m_log.ProcessMessages();
            // A folder, FIFO or device (or a file gone since it was listed) is never read: a
            // FIFO would keep the run waiting for ever.
            if (!IsRegularFile(file)) {
                m_log.LogError(file, m_texts.ErrorOpen);
                m_log.StepProgress();
                continue;
            }
            switch (m_job.Mode) {
            case TBatchMode::IconsFromImages:
                IconFromImage(file);
                break;
            case TBatchMode::ImagesFromIcons:
                ImagesFromIcon(file);
                break;
            case TBatchMode::ExtractFromResources:
                if (!ExtractFrom(file))
                    return false;
                break;
            }
            m_log.StepProgress();
        }
        m_log.LogMessage(Msg("msgComplete", "Operation completed!"));
        return true;
    }

private:
    QString Out(const QString& name) const { return UniqueFileName(OutputFileName(m_job.OutputFolder, name)); }

    // Writes the icon; logs the outcome under `name` (the target, or the source on failure).
    bool SaveIcon(TmyIcon& icon, const QString& target, const QString& failedName)
    {
        try {
            TmyIcoIO(true).SaveToFile(icon, target, m_job.Compress);
        } catch (const std::exception&) {
            m_log.LogError(failedName, m_texts.ErrorSave);
            return false;
        }
        return true;
    }

    void IconFromImage(const QString& file)
    {
        m_work.SetSize(256, 256);
        const QString error = LoadImageFile(m_work, file);
        if (!error.isEmpty()) {
            m_log.LogError(file, error);
            return;
        }
        // An icon without images is no icon: nothing is written when no format is chosen.
        if (m_job.Formats.empty()) {
            m_log.LogError(file, m_texts.ErrorSave);
            return;
        }
        TmyIcon icon;
        for (const TBatchFormat& f : m_job.Formats) {
            m_log.ProcessMessages();
            TmyImagePal& image = icon.AddImage(f.Size, f.Size, f.Depth);
            image.Assign(m_work);
            TmyAdjustments::ResizeImage(image, f.Size, f.Size);
            TPaletteLibrary::ConvertImageDepth(image, f.Depth);
            image.UpdateZoom();
        }
        const QString name = Out(Base(file) + QStringLiteral(".ico"));
        if (SaveIcon(icon, name, name))
            m_log.LogSuccess(name, m_texts.SuccessReason);
    }

    void ImagesFromIcon(const QString& file)
    {
        const std::unique_ptr<TmyIcon> icon = ReadIconFile(file);
        if (!icon) {
            m_log.LogError(file, m_texts.ErrorOpen);
            return;
        }
        for (int i = 0; i < icon->Count(); ++i) {
            const TmyImagePal& image = icon->Image(i);
            const QString name = Out(Base(file) + QLatin1Char('_') + QString::number(image.Width()) + QLatin1Char('x')
                                     + QString::number(image.Height()) + QLatin1Char('-')
                                     + QString::number(image.BitDepth) + m_job.OutputExtension);
            bool written = false;
            try {
                written = ExportPicture(name, image);
            } catch (const std::exception&) {
                written = false;
            }
            if (written)
                m_log.LogSuccess(name, m_texts.SuccessReason);
            else
                m_log.LogError(name, m_texts.ErrorSave);
        }
    }

    // False when stopped between two icons.
    bool ExtractFrom(const QString& file)
    {
        if (IsIconType(TypeOf(file))) {
            const std::unique_ptr<TmyIcon> icon = ReadIconFile(file);
            if (!icon) {
                m_log.LogError(file, m_texts.ErrorOpen);
                return true;
            }
            const QString name = Out(Base(file) + QStringLiteral("-0.ico"));
            if (SaveIcon(*icon, name, file))
                m_log.LogSuccess(name, m_texts.SuccessReason);
            return true;
        }

        TShellIcons shell;
        shell.Load(file);
        const int n = shell.Count();
        if (n == 0) {
            // Nothing was made: a warning, not a success.
            m_log.LogWarning(file, m_texts.NoIcon);
            return true;
        }
        const TExeIconFile* module = shell.Module();
        int c = 0;
        for (int j = 0; j < n; ++j) {
            if (m_log.ShouldStop())
                return false;
            m_log.ProcessMessages();
            const int group = module ? module->FindGroup(QString::number(j)) : -1;
            if (module && module->ImageCount(group) == 0)
                continue; // a group of more images than an icon may hold
            ++c;
            const QString target = Out(Base(file) + QLatin1Char('-') + QString::number(c) + QStringLiteral(".ico"));
            if (module && module->Extract(group, target)) {
                m_log.LogSuccess(target, m_texts.SuccessReason);
                continue;
            }
            const QImage picture = ShellIcon32(file, j);
            if (picture.isNull()) {
                m_log.LogError(target, m_texts.ErrorOpen);
                continue;
            }
            TmyIcon icon;
            TmyImagePal& image = icon.AddImage(32, 32, 32);
            TmyImport::BitmapToImage({TmyImage::FromQImage(picture), BitmapAlpha::Straight}, image, 32, 32);
            if (SaveIcon(icon, target, target))
                m_log.LogWarning(target, m_texts.Not32Bit);
        }
        return true;
    }

    const TBatchJob& m_job;
    IBatchLog& m_log;
    Texts m_texts;
    TmyImagePal m_work{256, 256, 32};
};

} // namespace

bool RunBatch(const TBatchJob& job, IBatchLog& log)
{
    return Run(job, log).Go();
}

std::vector<TBatchFormat> CheckedFormats(const bool checked[3][5])
{
    static const int depths[3] = {32, 8, 4};
    static const int sizes[5] = {16, 24, 32, 48, 256};
    std::vector<TBatchFormat> formats;
    for (int row = 2; row >= 0; --row) {
        for (int col = 4; col >= 0; --col) {
            if (checked[row][col])
                formats.push_back({sizes[col], depths[row]});
        }
    }
    return formats;
}

QString UniqueFileName(const QString& name)
{
    if (!QFileInfo::exists(name))
        return name;
    const QFileInfo info(name);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    const QString stem = info.dir().filePath(info.completeBaseName());
    for (int n = 2;; ++n) {
        const QString candidate = stem + QStringLiteral(" (") + QString::number(n) + QLatin1Char(')') + suffix;
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

QString OutputFileName(const QString& folder, const QString& name)
{
    QString dir = folder;
    if (!dir.endsWith(QLatin1Char('/')) && !dir.endsWith(QDir::separator()))
        dir += QLatin1Char('/');
    return dir + name;
}

QString OutputFolderProblem(const QString& folder)
{
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.exists())
        return MsgS("msgFolderNotFound", "The folder %s1 does not exist!", folder);
    if (!info.isDir() || !info.isWritable())
        return MsgS("msgFolderNotWritable", "Files cannot be written into %s1!", folder);
    return {};
}

bool FileFitsMode(TBatchMode mode, const QString& fileName)
{
    if (!IsRegularFile(fileName))
        return false;
    const TImageFileType t = TypeOf(fileName);
    switch (mode) {
    case TBatchMode::IconsFromImages:
        return IsIconType(t) || t == iftBmp || t == iftJpeg || t == iftPng || t == iftGif;
    case TBatchMode::ImagesFromIcons:
        return IsIconType(t);
    case TBatchMode::ExtractFromResources:
        return true;
    }
    return false;
}

QString LoadImageFile(TmyImagePal& image, const QString& fileName)
{
    const int h = image.Height(), w = image.Width();
    switch (TypeOf(fileName)) {
    case iftIco:
    case iftCur:
        return TmyImport::ImportIcon(fileName, image, true) ? QString() : QStringLiteral("Incalid icon or cursor#trans");
    case iftBmp:
        return TmyImport::ImportBmp(fileName, image, h, w, true) ? QString() : Msg("msgNotBMP", "Invalid bmp file!");
    case iftJpeg:
        return TmyImport::ImportJpeg(fileName, image, h, w, true) ? QString() : Msg("msgNotJPG", "Invalid jpg file!");
    case iftPng:
        return TmyImport::ImportPng(fileName, image, h, w, true) ? QString() : Msg("msgNotPNG", "Invalid png file!");
    case iftGif:
        return TmyImport::ImportGif(image, fileName, true) ? QString() : Msg("msgNotGIF", "Invalid gif file!");
    default:
        return Msg("msgUnknown", "Unknown file type!");
    }
}

} // namespace glimt
