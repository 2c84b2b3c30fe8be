#pragma once
#include "engine/IniFile.h"

#include <QString>
#include <memory>

// The translator: message texts by key with their English defaults, and the texts of windows
// from the chosen language file (an INI file: sections "APP", "MSG", "Menu", "frmCanvas" and
// one per window). The file is parsed once when it is chosen, not for every lookup.
class TLanguage {
public:
    // Full path of the language file; empty until a language is chosen.
    const QString& FileName() const { return m_fileName; }
    // Chooses the language file and parses it (a missing or unreadable file reads as empty).
    void SetFileName(const QString& path);

    // One lookup: the file's value of `key` in `section`, or `def` when no file is chosen, or
    // the section or the key is missing. A key that begins with "." (a component without a
    // name) or an empty section gives `def` without consulting the file. A key present with an
    // empty value gives the empty text.
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // ReadString with the section "MSG".
    QString GetMessage(const QString& key, const QString& def) const;

    // Running count of menu item lists entered since the last translation of action bars; the
    // first number of every "Menu" key.
    int MenuCounter = 0;

private:
    QString m_fileName;
    std::unique_ptr<glimt::IniFile> m_file;
};

// The single translator.
TLanguage& Lang();

namespace glimt {

// Replaces the first occurrence of `placeholder` (case-sensitive), once, as plain text.
QString ReplaceOnce(QString text, const QString& placeholder, const QString& value);

// Lang().GetMessage(key, english), with "%s1", or "%i1" and "%i2", filled in once each.
QString Msg(const char* key, const char* english);
QString MsgS(const char* key, const char* english, const QString& s1);
QString MsgI(const char* key, const char* english, long long i1);
QString MsgII(const char* key, const char* english, long long i1, long long i2);

} // namespace glimt
