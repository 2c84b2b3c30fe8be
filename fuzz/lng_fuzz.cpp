// Feeds arbitrary bytes to the translator as a language file: every message and window text
// is looked up and filled in as the program does. The file read from disk must give the same
// texts as the same bytes parsed in memory, and keys the translator never consults must keep
// their defaults.
#include "engine/IniFile.h"
#include "engine/language.h"
#include "fuzz/FuzzTempFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > std::size_t(glimt::IniFile::kMaxFileBytes))
        return 0;
    TLanguage language;
    language.SetFileName(glimt::fuzz::WriteTempFile(QStringLiteral("in.lng"), data, size));
    const glimt::IniFile memory = glimt::IniFile::FromText(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));

    std::size_t count = 0;
    const glimt::MessageText* messages = glimt::MessageTable(count);
    const QString def = QStringLiteral("(no text)");
    for (std::size_t i = 0; i < count; ++i) {
        const QString key = QString::fromLatin1(messages[i].key);
        const QString text = language.GetMessage(key, QString::fromUtf8(messages[i].english));
        // Each lookup costs a few allocations: the two readers are compared on some keys only.
        if (i % 8 == 0 && text != memory.ReadString(QStringLiteral("MSG"), key, QString::fromUtf8(messages[i].english)))
            std::abort();
        (void)glimt::ReplaceOnce(glimt::ReplaceOnce(text, QStringLiteral("%i1"), QStringLiteral("7")), QStringLiteral("%s1"), text);
    }
    for (const QString& section : {QStringLiteral("APP"), QStringLiteral("frmCanvas"), QStringLiteral("frmMain")}) {
        for (const QString& key : {glimt::CaptionKey(QStringLiteral("btnOK")), glimt::HintKey(QStringLiteral("btnOK")),
                                   glimt::ItemKey(QStringLiteral("cbxMode"), 0)})
            if (language.ReadString(section, key, def) != memory.ReadString(section, key, def))
                std::abort();
        if (language.ReadString(section, QStringLiteral(".Caption"), def) != def)
            std::abort();
    }
    for (int list = 0; list < 4; ++list)
        for (int item = 0; item < 4; ++item) {
            const QString key = glimt::MenuKey(list, item);
            if (language.ReadString(QStringLiteral("Menu"), key, def) != memory.ReadString(QStringLiteral("Menu"), key, def))
                std::abort();
        }
    if (language.ReadString(QString(), QStringLiteral("msgSave"), def) != def)
        std::abort();
    return 0;
}
