#pragma once
#include "engine/IniFile.h"

#include <QString>
#include <QStringList>
#include <cstddef>
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

// One message of the program: its key in the "MSG" section and its English text.
struct MessageText {
    const char* key;
    const char* english;
};

// Every message key of the program with its English text.
const MessageText* MessageTable(std::size_t& count);
// The English text of `key`, or null when the program has no such message.
const char* EnglishMessage(const char* key);

// The keys by which the texts of windows are looked up in a language file. A component's keys
// live in the section of its form (named after the form) or in "frmCanvas" for the document
// windows; menu items with sub-items are keyed "n-j.Menu" in the section "Menu", where n counts
// the item lists entered so far (TLanguage::MenuCounter) and j is the item's index in its list.
QString CaptionKey(const QString& componentName);
QString HintKey(const QString& componentName);
QString ItemKey(const QString& componentName, int index);
QString MenuKey(int listNumber, int itemIndex);

// The language file of `language` in the program's folder: <programFolder>/Languages/<language>.lng,
// or, when no file has exactly that name, the one whose extension is ".lng" in another case
// ("Deutsch.LNG"). The language name itself compares case-sensitively.
QString LanguageFileName(const QString& programFolder, const QString& language);
// The languages offered by the program's "Languages" folder: the name without its extension of
// every regular file whose extension is ".lng" in any case, in the folder's own order.
QStringList LanguageNames(const QString& programFolder);

// Replaces the first occurrence of `placeholder` (case-sensitive), once, as plain text.
QString ReplaceOnce(QString text, const QString& placeholder, const QString& value);

// Lang().GetMessage(key, english), with "%s1", or "%i1" and "%i2", filled in once each.
QString Msg(const char* key, const char* english);
QString MsgS(const char* key, const char* english, const QString& s1);
QString MsgI(const char* key, const char* english, long long i1);
QString MsgII(const char* key, const char* english, long long i1, long long i2);
QString MsgSII(const char* key, const char* english, const QString& s1, long long i1, long long i2);

} // namespace glimt
