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

    // Reads every key of `fileName` (missing ones take their defaults). `screenWidth` is the
    // primary screen's width, for the defaults of the tool windows' positions.
    void Load(const QString& fileName, int screenWidth);
    // Writes every key into `fileName`, keeping whatever else the file holds; creates the
    // folder when missing; written through a temporary and rename. Throws glimt::FileError.
    void Save(const QString& fileName) const;

    // RecentFiles[i] for 1 <= i <= 10, else "".
    QString GetRecentFile(int i) const;
    // Sets RecentFiles[i] for 1 <= i <= 10; other i are ignored.
    void SetRecentFile(int i, const QString& fileName);

    // The settings file of this user: <data folder>/config.cfg.
    static QString DefaultFileName();
};

// The single settings object of the program.
TOptions& Options();
