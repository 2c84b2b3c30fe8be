#include "engine/language.h"

TLanguage& Lang()
{
    static TLanguage instance;
    return instance;
}

void TLanguage::SetFileName(const QString& path)
{
    m_fileName = path;
    m_file = path.isEmpty() ? nullptr : std::make_unique<glimt::IniFile>(path);
}

QString TLanguage::ReadString(const QString& section, const QString& key, const QString& def) const
{
    if (!m_file || section.isEmpty() || key.startsWith(QLatin1Char('.')))
        return def;
    return m_file->ReadString(section, key, def);
}

QString TLanguage::GetMessage(const QString& key, const QString& def) const
{
    return ReadString(QStringLiteral("MSG"), key, def);
}

namespace glimt {

QString ReplaceOnce(QString text, const QString& placeholder, const QString& value)
{
    const qsizetype at = text.indexOf(placeholder, 0, Qt::CaseSensitive);
    if (at >= 0)
        text.replace(at, placeholder.size(), value);
    return text;
}

QString Msg(const char* key, const char* english)
{
    return Lang().GetMessage(QString::fromLatin1(key), QString::fromUtf8(english));
}

QString MsgS(const char* key, const char* english, const QString& s1)
{
    return ReplaceOnce(Msg(key, english), QStringLiteral("%s1"), s1);
}

QString MsgI(const char* key, const char* english, long long i1)
{
    return ReplaceOnce(Msg(key, english), QStringLiteral("%i1"), QString::number(i1));
}

QString MsgII(const char* key, const char* english, long long i1, long long i2)
{
    return ReplaceOnce(MsgI(key, english, i1), QStringLiteral("%i2"), QString::number(i2));
}

} // namespace glimt
