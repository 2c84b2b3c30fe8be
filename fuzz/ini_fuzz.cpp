// Feeds arbitrary bytes to the INI reader behind "config.cfg" and the language files: it must
// parse, look up, rewrite and write back any text without crashing.
#include "engine/IniFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > std::size_t(glimt::IniFile::kMaxFileBytes))
        return 0;
    glimt::IniFile ini = glimt::IniFile::FromText(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    (void)ini.ReadInteger(QStringLiteral("General"), QStringLiteral("BKSize"), 4);
    (void)ini.ReadString(QStringLiteral("MSG"), QStringLiteral("msgSave"), QString());
    ini.WriteInteger(QStringLiteral("General"), QStringLiteral("BKSize"), 8);
    ini.WriteString(QStringLiteral("New"), QStringLiteral("Key"), QStringLiteral("value"));
    const QByteArray text = ini.ToText();
    const glimt::IniFile back = glimt::IniFile::FromText(text);
    if (back.ReadInteger(QStringLiteral("General"), QStringLiteral("BKSize"), 0) != 8)
        __builtin_trap();
    return 0;
}
