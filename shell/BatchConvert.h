#pragma once
#include <QString>
#include <QStringList>
#include <vector>

class TmyImagePal;

namespace glimt {

// The three conversions of the batch dialog.
enum class TBatchMode { IconsFromImages, ImagesFromIcons, ExtractFromResources };

// One image format of the icons made from pictures: a square side and a bit depth.
struct TBatchFormat {
    int Size = 32;
    int Depth = 32;
    bool operator==(const TBatchFormat&) const = default;
};

// What a run does: the mode, the input files in order, the output folder, the picture format
// of the images-from-icons mode (".bmp", ".jpg", ".png" or ".gif"), the formats of the
// icons-from-images mode in the order they are added to each icon, and whether large icon
// images are written compressed.
struct TBatchJob {
    TBatchMode Mode = TBatchMode::IconsFromImages;
    QStringList Files;
    QString OutputFolder;
    QString OutputExtension = QStringLiteral(".bmp");
    std::vector<TBatchFormat> Formats;
    bool Compress = true;
};

// Where a run reports: the log lines, the progress, and the user's wish to stop. The dialog
// implements it; tests record.
class IBatchLog {
public:
    virtual ~IBatchLog() = default;
    virtual void LogSuccess(const QString& name, const QString& reason) = 0;
    virtual void LogWarning(const QString& name, const QString& reason) = 0;
    virtual void LogError(const QString& name, const QString& reason) = 0;
    // `counter` is the 1-based file number, "/" and the file count ("2/7").
    virtual void LogProcessing(const QString& counter, const QString& file) = 0;
    virtual void LogMessage(const QString& text) = 0;
    // One file is done.
    virtual void StepProgress() = 0;
    // Lets pending window messages run (a Stop click among them).
    virtual void ProcessMessages() {}
    // True when the user asked to stop.
    virtual bool ShouldStop() = 0;
};

// Runs `job`, reporting to `log`: every file is logged and a failure of one file or image goes
// on with the next (a name that is no regular file is logged as a file that cannot be opened); the run checks for Stop before each file (and, extracting, before each
// icon). Ends with "Operation completed!" unless stopped; true when it ran to the end. Every
// file is written through a temporary and a rename, under a name no existing file has.
bool RunBatch(const TBatchJob& job, IBatchLog& log);

// The formats of the dialog's check boxes in the order they go into an icon: 4 bits 256, 48,
// 32, 24, 16; then 8 bits; then 32 bits. `checked[row][column]` has rows 32, 8 and 4 bits and
// columns 16, 24, 32, 48 and 256, as the dialog shows them.
std::vector<TBatchFormat> CheckedFormats(const bool checked[3][5]);

// `name` when no such file exists; else its folder, base name, " (n)" and extension for the
// first n = 2, 3, ... that is free.
QString UniqueFileName(const QString& name);

// `folder` with a trailing separator, followed by `name`.
QString OutputFileName(const QString& folder, const QString& name);

// What keeps a run from writing into `folder` (missing, not a folder, or not writable), as the
// message to show; "" when files can be written there.
QString OutputFolderProblem(const QString& folder);

// Whether a file of that content fits the mode's list: pictures, icons and cursors to make
// icons from; icons and cursors to make images from; any regular file to extract from. Folders,
// FIFOs and devices fit no mode.
bool FileFitsMode(TBatchMode mode, const QString& fileName);

// Loads the picture, icon or cursor file into `image`, as a square picture at the image's
// current size. The text of the failure, or "" on success.
QString LoadImageFile(TmyImagePal& image, const QString& fileName);

} // namespace glimt
