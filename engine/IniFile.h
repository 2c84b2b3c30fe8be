#pragma once
#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

namespace glimt {

// An INI file with the semantics of Windows private-profile files: "[Section]" headers and
// "Key=Value" lines, section and key names compared case-insensitively, blanks around names
// and values ignored, a value in matching double quotes unquoted. Writing a key replaces it
// in place or appends it to its section; every other line of the file (foreign keys and
// sections, comments) is kept as it was. Text is read as UTF-8, or as Windows-1252 when the
// file is not valid UTF-8; it is written as UTF-8.
class IniFile {
public:
    // The largest file that is read: settings, language and desktop files are kilobytes, some
    // a megabyte; no real one comes near this.
    static constexpr qint64 kMaxFileBytes = qint64(16) << 20;

    IniFile() = default;
    // Loads `path`. A missing file gives an empty INI that UpdateFile creates. A file that
    // exists but cannot be read whole (no right to read it, not a regular file, larger than
    // kMaxFileBytes) reads as empty too, but is never written back: ReadWhole() is false and
    // UpdateFile refuses, so what the file holds is not lost.
    explicit IniFile(const QString& path);
    static IniFile FromText(const QByteArray& bytes);

    const QString& Path() const { return m_path; }
    // False when the file exists but could not be read whole.
    bool ReadWhole() const { return m_readWhole; }
    // Lines are written ending in CR LF; files of the Linux desktop take LF alone.
    void SetUnixLineBreaks(bool lf) { m_unixLineBreaks = lf; }

    bool HasKey(const QString& section, const QString& key) const;
    bool HasSection(const QString& section) const;
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // Decimal with an optional sign, or hexadecimal with "0x" or "$"; anything else gives `def`.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    // Any integer other than 0 is true; a value that is no integer gives `def`.
    bool ReadBool(const QString& section, const QString& key, bool def) const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);
    // Removes every line of that key; the section stays, even when empty.
    void DeleteKey(const QString& section, const QString& key);
    // Removes the section's headers and every line below them (its keys and comments).
    void DeleteSection(const QString& section);

    QByteArray ToText() const;
    // Writes the file to Path() through a temporary and rename; creates the folder when it
    // is missing. Throws glimt::FileError on failure, leaving the old file as it was, and
    // without touching it when it could not be read whole.
    void UpdateFile() const;

    // Parses an integer the way ReadInteger does; false when `text` is none.
    static bool ParseInteger(const QString& text, int& value);

private:
    struct Line {
        QString text;     // the raw line, for lines we do not own
        QString section;  // the section this line belongs to ("" before the first header)
        QString key;      // non-empty for key lines
        QString value;
        bool isHeader = false;
    };
    void Parse(const QString& text);
    int FindKey(const QString& section, const QString& key) const;
    int FindSectionEnd(const QString& section) const;
    static QString IndexKey(const QString& section, const QString& key);

    QString m_path;
    std::vector<Line> m_lines;
    // Case-folded "section\0key" to the first line holding it; rebuilt after lines move.
    mutable QHash<QString, int> m_index;
    mutable bool m_indexValid = false;
    bool m_unixLineBreaks = false;
    bool m_readWhole = true;
};

} // namespace glimt
