#include "engine/IniFile.h"

#include "engine/Errors.h"
#include "engine/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace glimt {

namespace {

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString DecodeText(const QByteArray& bytes)
{
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(data);
    if (!utf8.hasError())
        return text;
    QStringDecoder cp1252("windows-1252");
    if (cp1252.isValid())
        return cp1252.decode(data);
    return QString::fromLatin1(data);
}

} // namespace

IniFile::IniFile(const QString& path) : m_path(path)
{
    if (path.isEmpty() || !QFileInfo(path).exists())
        return;
    m_readWhole = false;
    QByteArray bytes;
    try {
        bytes = ReadWholeFile(path, kMaxFileBytes);
    } catch (const FileError&) {
        return;
    }
    m_readWhole = true;
    Parse(DecodeText(bytes));
}

IniFile IniFile::FromText(const QByteArray& bytes)
{
    IniFile ini;
    ini.Parse(DecodeText(bytes));
    return ini;
}

void IniFile::Parse(const QString& text)
{
    m_lines.clear();
    m_indexValid = false;
    QString section;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString raw = lines[i];
        if (raw.endsWith(QLatin1Char('\r')))
            raw.chop(1);
        if (i == lines.size() - 1 && raw.isEmpty())
            break;
        Line line;
        line.text = raw;
        const QString t = raw.trimmed();
        if (t.startsWith(QLatin1Char('['))) {
            const int close = t.indexOf(QLatin1Char(']'));
            section = (close > 0 ? t.mid(1, close - 1) : t.mid(1)).trimmed();
            line.isHeader = true;
            line.section = section;
        } else {
            line.section = section;
            const int eq = t.indexOf(QLatin1Char('='));
            if (eq > 0 && !t.startsWith(QLatin1Char(';'))) {
                line.key = t.left(eq).trimmed();
                QString value = t.mid(eq + 1).trimmed();
                if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
                    value = value.mid(1, value.size() - 2);
                line.value = value;
            }
        }
        m_lines.push_back(std::move(line));
    }
}

QString IniFile::IndexKey(const QString& section, const QString& key)
{
    return section.toCaseFolded() + QChar(0) + key.toCaseFolded();
}

int IniFile::FindKey(const QString& section, const QString& key) const
{
    if (!m_indexValid) {
        // Walk backwards so that the first of repeated keys is the one that stays.
        m_index.clear();
        for (int i = int(m_lines.size()) - 1; i >= 0; --i) {
            const Line& l = m_lines[std::size_t(i)];
            if (!l.isHeader && !l.key.isEmpty())
                m_index.insert(IndexKey(l.section, l.key), i);
        }
        m_indexValid = true;
    }
    return m_index.value(IndexKey(section, key), -1);
}

bool IniFile::HasKey(const QString& section, const QString& key) const
{
    return FindKey(section, key) >= 0;
}

bool IniFile::HasSection(const QString& section) const
{
    for (const Line& l : m_lines)
        if (l.isHeader && SameName(l.section, section))
            return true;
    return false;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    const int i = FindKey(section, key);
    return i < 0 ? def : m_lines[std::size_t(i)].value;
}

bool IniFile::ParseInteger(const QString& text, int& value)
{
    const QString t = text.trimmed();
    bool ok = false;
    int v = 0;
    if (t.startsWith(QLatin1Char('$')))
        v = int(t.mid(1).toUInt(&ok, 16));
    else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        v = int(t.mid(2).toUInt(&ok, 16));
    else
        v = t.toInt(&ok, 10);
    if (ok)
        value = v;
    return ok;
}

int IniFile::ReadInteger(const QString& section, const QString& key, int def) const
{
    const int i = FindKey(section, key);
    int v = def;
    if (i < 0 || !ParseInteger(m_lines[std::size_t(i)].value, v))
        return def;
    return v;
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

int IniFile::FindSectionEnd(const QString& section) const
{
    int end = -1;
    bool inside = false;
    for (int i = 0; i < int(m_lines.size()); ++i) {
        const Line& l = m_lines[std::size_t(i)];
        if (l.isHeader) {
            if (inside)
                break;
            inside = SameName(l.section, section);
            if (inside)
                end = i + 1;
        } else if (inside && !l.text.trimmed().isEmpty()) {
            end = i + 1;
        }
    }
    return end;
}

void IniFile::DeleteKey(const QString& section, const QString& key)
{
    for (int i = FindKey(section, key); i >= 0; i = FindKey(section, key)) {
        m_lines.erase(m_lines.begin() + i);
        m_indexValid = false;
    }
}

void IniFile::DeleteSection(const QString& section)
{
    std::erase_if(m_lines, [&](const Line& l) { return SameName(l.section, section); });
    m_indexValid = false;
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    const int i = FindKey(section, key);
    if (i >= 0) {
        Line& l = m_lines[std::size_t(i)];
        l.value = value;
        l.text = l.key + QLatin1Char('=') + value;
        return;
    }
    Line line;
    line.section = section;
    line.key = key;
    line.value = value;
    line.text = key + QLatin1Char('=') + value;
    const int end = FindSectionEnd(section);
    m_indexValid = false;
    if (end >= 0) {
        m_lines.insert(m_lines.begin() + end, std::move(line));
        return;
    }
    if (!m_lines.empty() && !m_lines.back().text.trimmed().isEmpty()) {
        Line blank;
        blank.section = m_lines.back().section;
        m_lines.push_back(blank);
    }
    Line header;
    header.isHeader = true;
    header.section = section;
    header.text = QLatin1Char('[') + section + QLatin1Char(']');
    m_lines.push_back(std::move(header));
    m_lines.push_back(std::move(line));
}

void IniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

void IniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QByteArray IniFile::ToText() const
{
    QString out;
    for (const Line& l : m_lines) {
        out += l.text;
        out += m_unixLineBreaks ? QLatin1String("\n") : QLatin1String("\r\n");
    }
    return out.toUtf8();
}

void IniFile::UpdateFile() const
{
    if (!m_readWhole)
        throw FileError(QStringLiteral("The file \"%1\" could not be read whole and is left as it was").arg(m_path), m_path);
    const QFileInfo info(m_path);
    QDir().mkpath(info.absolutePath());
    WriteFileAtomically(m_path, ToText());
}

} // namespace glimt
