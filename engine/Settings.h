#pragma once
#include "engine/MyPixel.h"

#include <QString>
#include <array>

// Every setting of the program, held in memory for the whole run. The single instance is read
// from "config.cfg" when it is created and written back when it is destroyed at program end;
// in between every part of the program reads and changes the fields directly.
class TOptions {
public:
    std::int32_t MainTop = 0, MainLeft = 0, MainHeight = 480, MainWidth = 640;
    bool MainMaximized = true;
    std::int32_t ToolsTop = 226, ToolsLeft = 0;
    std::int32_t ColorsTop = 226, ColorsLeft = 0;
    std::int32_t PrevTop = 56, PrevLeft = 0, PrevHeight = 170, PrevWidth = 231;
    bool ToolsVisible = true, ColorsVisible = true, PrevVisible = true;
    bool ToolbarVisible = true;
    bool GridVisible = false;
    bool LocalToolbarVisible = true;
    bool StatusbarVisible = true;
    std::uint8_t BKSize = 4;
    TColor Color1 = 0xFFFFFF, Color2 = 0xEBEBEB;
    bool ShowRGB = true;
    TColor GridColor = 0xC0C0C0;
    std::uint8_t GridStyle = 2;
    std::uint8_t PaletteAction = 1;
    std::uint8_t ClipboardAction = 1;
    bool NewIcon = false;
    std::uint8_t SelectedIndex = 2;
    TColor PrevColor = 0xFFFFFF;
    bool Compress = true;
    bool FilterOnAlpha = true;
    bool SmoothEdges = false;
    // RecentFiles[1..10]; index 0 is unused. The newest file is in the highest used slot.
    std::array<QString, 11> RecentFiles;
    bool KeepAspectRatio = true;
    bool ClearClipboard = true;
    QString Language = QStringLiteral("English");
    bool SidebarVisible = true;
    bool ExplorerVisible = false;
    std::int32_t ExplorerTop = 56, ExplorerLeft = 0, ExplorerWidth = 244, ExplorerHeight = 552;
    std::int32_t TreeHeight = 176;
    std::int32_t ThumbSize = 100;
    bool ShowLabel = false;
    std::int32_t FavoritColorPosition = 0;
    bool ExportAlpha = true;
    TmyPixel ForeColor = TmyPixel::CreateRGBA(0, 0, 0, 255);
    TmyPixel BackColor = TmyPixel::CreateRGBA(0, 0, 0, 0);
    bool TransparentSelection = true;
    bool AllowDragAndDrop = true;

    // Fields hold the defaults (the screen-relative ones for a 1024-pixel screen) until Load.
    TOptions();

    // Reads every key of `fileName` into its field; a missing folder, file or key, or a value
    // that is no integer, gives the key's default. Byte fields and colour channels keep their
    // low 8 bits; a "BKSize" that is 0 after the cut reads as 4 (the checkerboard cell size
    // divides). `screenWidth` is the primary screen's width, for the defaults of the tool
    // windows' positions. Never fails; a file that exists but cannot be read whole gives the
    // defaults and is left alone by Save for the rest of the run.
    void Load(const QString& fileName, int screenWidth);
    // Writes every key into `fileName`, replacing those keys one by one and keeping whatever
    // else the file holds; creates the folder when missing; written through a temporary and
    // rename. A string holding a line break is written empty. Throws glimt::FileError and
    // leaves the old file as it was; so also, without writing anything, when the file cannot
    // be read whole now or could not be when it was loaded (its settings were never read, and
    // the defaults must not replace them).
    void Save(const QString& fileName) const;

    // RecentFiles[i] for 1 <= i <= 10, else "".
    QString GetRecentFile(int i) const;
    // Sets RecentFiles[i] for 1 <= i <= 10; other i, and names holding a line break (which no
    // file name on the settings file's lines can carry), are ignored.
    void SetRecentFile(int i, const QString& fileName);

    // The settings file of this user: <data folder>/config.cfg ("" when no data folder is known).
    static QString DefaultFileName();

private:
    // The file Load could not read whole ("" when it could).
    QString m_unreadFile;
};

// The single settings object of the program.
TOptions& Options();

namespace glimt {
// True when `text` holds a carriage return or a line feed.
bool HasLineBreak(const QString& text);
} // namespace glimt
