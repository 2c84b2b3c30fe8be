// Reading and writing "config.cfg": one table of keys, walked by the reader and the writer
// alike, so that every key that is written is read back and nothing else is read.
#include "engine/Errors.h"
#include "engine/IniFile.h"
#include "engine/Settings.h"

namespace {

// Reads each key into its field, the key's default where the file has none.
class KeyReader {
public:
    explicit KeyReader(const glimt::IniFile& ini) : m_ini(ini) {}

    void Int(const char* section, const char* key, std::int32_t& field, std::int32_t def)
    {
        field = m_ini.ReadInteger(QLatin1String(section), QLatin1String(key), def);
    }
    void Bool(const char* section, const char* key, bool& field, bool def)
    {
        field = m_ini.ReadBool(QLatin1String(section), QLatin1String(key), def);
    }
    void Byte(const char* section, const char* key, std::uint8_t& field, std::uint8_t def)
    {
        field = Channel(section, QLatin1String(key), def);
    }
    void Color(const char* section, const char* prefix, TColor& field, TColor def)
    {
        const TmyPixel d = TmyPixel::CreateColor(def);
        TmyPixel p;
        p.R = Channel(section, Key(prefix, "Red"), d.R);
        p.G = Channel(section, Key(prefix, "Green"), d.G);
        p.B = Channel(section, Key(prefix, "Blue"), d.B);
        field = p.GetColor();
    }
    void Pixel(const char* section, const char* prefix, TmyPixel& field, TmyPixel def)
    {
        field.R = Channel(section, Key(prefix, "Red"), def.R);
        field.G = Channel(section, Key(prefix, "Green"), def.G);
        field.B = Channel(section, Key(prefix, "Blue"), def.B);
        field.A = Channel(section, Key(prefix, "Alpha"), def.A);
    }
    void String(const char* section, const QString& key, QString& field, const QString& def)
    {
        field = m_ini.ReadString(QLatin1String(section), key, def);
    }

private:
    static QString Key(const char* prefix, const char* channel) { return QLatin1String(prefix) + QLatin1String(channel); }
    std::uint8_t Channel(const char* section, const QString& key, std::uint8_t def) const
    {
        return std::uint8_t(m_ini.ReadInteger(QLatin1String(section), key, def) & 0xFF);
    }

    const glimt::IniFile& m_ini;
};

// Writes each key from its field; the defaults play no part.
class KeyWriter {
public:
    explicit KeyWriter(glimt::IniFile& ini) : m_ini(ini) {}

    void Int(const char* section, const char* key, std::int32_t field, std::int32_t)
    {
        m_ini.WriteInteger(QLatin1String(section), QLatin1String(key), field);
    }
    void Bool(const char* section, const char* key, bool field, bool)
    {
        m_ini.WriteBool(QLatin1String(section), QLatin1String(key), field);
    }
    void Byte(const char* section, const char* key, std::uint8_t field, std::uint8_t)
    {
        m_ini.WriteInteger(QLatin1String(section), QLatin1String(key), field);
    }
    void Color(const char* section, const char* prefix, TColor field, TColor)
    {
        Pixel(section, prefix, TmyPixel::CreateColor(field), {}, false);
    }
    void Pixel(const char* section, const char* prefix, TmyPixel field, TmyPixel, bool withAlpha = true)
    {
        const QString s = QLatin1String(section);
        const QString p = QLatin1String(prefix);
        m_ini.WriteInteger(s, p + QLatin1String("Red"), field.R);
        m_ini.WriteInteger(s, p + QLatin1String("Green"), field.G);
        m_ini.WriteInteger(s, p + QLatin1String("Blue"), field.B);
        if (withAlpha)
            m_ini.WriteInteger(s, p + QLatin1String("Alpha"), field.A);
    }
    void String(const char* section, const QString& key, const QString& field, const QString&)
    {
        // A line break would end the value and start lines of its own in the file.
        m_ini.WriteString(QLatin1String(section), key, glimt::HasLineBreak(field) ? QString() : field);
    }

private:
    glimt::IniFile& m_ini;
};

// Every key of the settings file in file order, with its form and default. `o` is a TOptions
// or a const TOptions; the visitor reads or writes the fields.
template <class Options, class Visitor>
void VisitKeys(Options& o, Visitor& v, int screenWidth)
{
    v.Int("MainForm", "Top", o.MainTop, 0);
    v.Int("MainForm", "Left", o.MainLeft, 0);
    v.Int("MainForm", "Height", o.MainHeight, 480);
    v.Int("MainForm", "Width", o.MainWidth, 640);
    v.Bool("MainForm", "Maximized", o.MainMaximized, true);
    v.Bool("MainForm", "ToolbarVisible", o.ToolbarVisible, true);
    v.Bool("MainForm", "LocalToolbarVisible", o.LocalToolbarVisible, true);
    v.Bool("MainForm", "StatusbarVisible", o.StatusbarVisible, true);
    v.Bool("MainForm", "SidebarVisible", o.SidebarVisible, true);

    v.Bool("ToolsForm", "Visible", o.ToolsVisible, true);
    v.Int("ToolsForm", "Top", o.ToolsTop, 226);
    v.Int("ToolsForm", "Left", o.ToolsLeft, screenWidth - 231);

    v.Bool("ColorsForm", "Visible", o.ColorsVisible, true);
    v.Int("ColorsForm", "Top", o.ColorsTop, 226);
    v.Int("ColorsForm", "Left", o.ColorsLeft, screenWidth - 171);
    v.Bool("ColorsForm", "ShowRGB", o.ShowRGB, true);
    v.Pixel("ColorsForm", "ForeColor", o.ForeColor, TmyPixel::CreateRGBA(0, 0, 0, 255));
    v.Pixel("ColorsForm", "BackColor", o.BackColor, TmyPixel::CreateRGBA(0, 0, 0, 0));
    v.Int("ColorsForm", "FavoritColorPosition", o.FavoritColorPosition, 0);

    v.Bool("PrevForm", "Visible", o.PrevVisible, true);
    v.Int("PrevForm", "Top", o.PrevTop, 56);
    v.Int("PrevForm", "Left", o.PrevLeft, screenWidth - 231);
    v.Int("PrevForm", "Height", o.PrevHeight, 170);
    v.Int("PrevForm", "Width", o.PrevWidth, 231);

    v.Bool("ExplorerForm", "Visible", o.ExplorerVisible, false);
    v.Int("ExplorerForm", "Top", o.ExplorerTop, 56);
    v.Int("ExplorerForm", "Left", o.ExplorerLeft, 0);
    v.Int("ExplorerForm", "Width", o.ExplorerWidth, 244);
    v.Int("ExplorerForm", "Height", o.ExplorerHeight, 552);
    v.Int("ExplorerForm", "TreeHeight", o.TreeHeight, 176);
    v.Int("ExplorerForm", "ThumbSize", o.ThumbSize, 100);
    v.Bool("ExplorerForm", "ShowLabel", o.ShowLabel, false);

    v.Bool("Grid", "Visible", o.GridVisible, false);
    v.Color("Grid", "Color", o.GridColor, 0xC0C0C0);
    v.Byte("Grid", "Style", o.GridStyle, 2);

    v.Byte("General", "BKSize", o.BKSize, 4);
    v.Color("General", "Color1", o.Color1, 0xFFFFFF);
    v.Color("General", "Color2", o.Color2, 0xEBEBEB);
    v.Byte("General", "PaletteAction", o.PaletteAction, 1);
    v.Byte("General", "ClipboardAction", o.ClipboardAction, 1);
    v.Bool("General", "NewIcon", o.NewIcon, false);
    v.Byte("General", "SelectedIndex", o.SelectedIndex, 2);
    v.Color("General", "PrevColor", o.PrevColor, 0xFFFFFF);
    v.Bool("General", "Compress", o.Compress, true);
    v.Bool("General", "FilterOnAlpha", o.FilterOnAlpha, true);
    v.Bool("General", "SmoothEdges", o.SmoothEdges, false);
    v.Bool("General", "KeepAspectRatio", o.KeepAspectRatio, true);
    v.Bool("General", "ClearClipboard", o.ClearClipboard, true);
    v.String("General", QStringLiteral("Language"), o.Language, QStringLiteral("English"));
    v.Bool("General", "ExportAlpha", o.ExportAlpha, true);
    v.Bool("General", "TransparentSelection", o.TransparentSelection, true);
    v.Bool("General", "AllowDragAndDrop", o.AllowDragAndDrop, true);
    for (int i = 1; i <= 10; ++i)
        v.String("General", QStringLiteral("RecentFile") + QString::number(i), o.RecentFiles[std::size_t(i)], QString());
}

} // namespace

void TOptions::Load(const QString& fileName, int screenWidth)
{
    const glimt::IniFile ini(fileName);
    m_unreadFile = ini.ReadWhole() ? QString() : fileName;
    KeyReader reader(ini);
    VisitKeys(*this, reader, screenWidth);
    if (BKSize == 0)
        BKSize = 4;
}

void TOptions::Save(const QString& fileName) const
{
    if (!m_unreadFile.isEmpty() && fileName == m_unreadFile)
        throw glimt::FileError(QStringLiteral("The settings file \"%1\" could not be read and is left as it was").arg(fileName),
                               fileName);
    glimt::IniFile ini(fileName);
    KeyWriter writer(ini);
    VisitKeys(*this, writer, 0);
    ini.UpdateFile();
}
