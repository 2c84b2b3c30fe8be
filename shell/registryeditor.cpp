#include "shell/registryeditor.h"

#include "engine/Errors.h"
#include "engine/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace glimt {

namespace {

const QString kEntryGroup = QStringLiteral("Desktop Entry");
const QString kDefaultsGroup = QStringLiteral("Default Applications");
const QString kPreviousGroup = QStringLiteral("X-Glimt Previous Defaults");

QString XdgFolder(const char* variable, const char* fallback)
{
    const QString xdg = qEnvironmentVariable(variable);
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return QDir::cleanPath(xdg);
    const QString home = qEnvironmentVariable("HOME");
    return home.isEmpty() ? QString() : QDir::cleanPath(home + QLatin1Char('/') + QLatin1String(fallback));
}

QString EntryPath(const char* entry)
{
    const QString folder = ApplicationsFolder();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + QLatin1String(entry);
}

// The defaults file. One that exists but cannot be read whole is refused before anything is
// changed: written back, it would lose what it holds.
IniFile ReadDefaults(const QString& file)
{
    IniFile ini(file);
    if (!ini.ReadWhole())
        throw FileError(QStringLiteral("The file associations were not changed: \"%1\" could not be read.").arg(file), file);
    return ini;
}

// Writes the file; a failure leaves it as it was and is not reported.
void Store(IniFile& ini)
{
    if (ini.Path().isEmpty())
        return;
    ini.SetUnixLineBreaks(true);
    try {
        ini.UpdateFile();
    } catch (const Error&) {
    }
}

QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Tells the desktop that the entries of the applications folder changed, so that its cache of
// which entry opens which type is built again (where update-desktop-database is installed;
// nothing is waited for and nothing is reported).
void TellDesktop()
{
    const QString folder = ApplicationsFolder();
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));
    if (!folder.isEmpty() && !tool.isEmpty() && QFileInfo(folder).isDir())
        QProcess::startDetached(tool, {QStringLiteral("-q"), folder});
}

void RemoveEntry(const char* entry)
{
    const QString path = EntryPath(entry);
    if (!path.isEmpty() && QFile::remove(path))
        TellDesktop();
}

// `listed`: the entry shows in the desktop's application menus (file managers offer entries
// for their types either way). The desktop hears of it when the entry changed.
void WriteEntry(const char* entry, const QString& name, const QString& programPath, const QString& mimeTypes,
                bool listed)
{
    const QString path = EntryPath(entry);
    if (path.isEmpty())
        return;
    const QByteArray before = FileBytes(path);
    IniFile ini(path);
    ini.WriteString(kEntryGroup, QStringLiteral("Type"), QStringLiteral("Application"));
    ini.WriteString(kEntryGroup, QStringLiteral("Name"), name);
    ini.WriteString(kEntryGroup, QStringLiteral("Exec"), OpenCommand(programPath));
    ini.WriteString(kEntryGroup, QStringLiteral("MimeType"), mimeTypes);
    ini.WriteString(kEntryGroup, QStringLiteral("NoDisplay"), listed ? QStringLiteral("false") : QStringLiteral("true"));
    Store(ini);
    const QByteArray after = FileBytes(path);
    if (!after.isEmpty() && after != before)
        TellDesktop();
}

// The first desktop entry of a list value ("a.desktop;b.desktop;").
QString FirstEntry(const QString& list)
{
    return list.section(QLatin1Char(';'), 0, 0).trimmed();
}

// Whether a file can be written at `path`: the file itself when it exists, else the nearest
// folder above it that exists.
bool CanWrite(const QString& path)
{
    if (path.isEmpty())
        return false;
    QFileInfo info(path);
    if (info.exists())
        return info.isFile() && info.isWritable();
    for (QString folder = info.absolutePath(); !folder.isEmpty();) {
        const QFileInfo f(folder);
        if (f.exists())
            return f.isDir() && f.isWritable();
        const QString up = f.absolutePath();
        if (up == folder)
            return false;
        folder = up;
    }
    return false;
}

} // namespace

QString ApplicationsFolder()
{
    const QString data = XdgFolder("XDG_DATA_HOME", ".local/share");
    return data.isEmpty() ? QString() : data + QStringLiteral("/applications");
}

QString MimeAppsFile()
{
    const QString config = XdgFolder("XDG_CONFIG_HOME", ".config");
    return config.isEmpty() ? QString() : config + QStringLiteral("/mimeapps.list");
}

QString OpenCommand(const QString& programPath)
{
    // Inside a quoted argument of an Exec line, ", `, $ and \ are escaped with a backslash, a
    // literal % is doubled; then the value's own escaping doubles every backslash.
    QString quoted;
    for (const QChar c : programPath) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    QString command = QLatin1Char('"') + quoted + QStringLiteral("\" %f");
    return command.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
}

bool IsContextMenuSet(const QString& programPath)
{
    const QString path = EntryPath(kOpenEntry);
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    return IniFile(path).ReadString(kEntryGroup, QStringLiteral("Exec"), QString()) == OpenCommand(programPath);
}

void AddContextMenu(const QString& programPath)
{
    // File managers offer it as "Open With" and the name.
    WriteEntry(kOpenEntry, QStringLiteral("Glimt"), programPath, QStringLiteral("application/octet-stream;"), true);
}

void RemoveContextMenu()
{
    RemoveEntry(kOpenEntry);
}

void SetContextMenu(const QString& programPath, bool set)
{
    if (set)
        AddContextMenu(programPath);
    else
        RemoveContextMenu();
}

bool HasIcoKey()
{
    const QString folder = ApplicationsFolder();
    return CanWrite(MimeAppsFile()) && !folder.isEmpty() && CanWrite(folder + QStringLiteral("/x"));
}

bool IsIcoAssociated()
{
    const QString file = MimeAppsFile();
    if (file.isEmpty())
        return false;
    const QString value = IniFile(file).ReadString(kDefaultsGroup, QLatin1String(kIcoMimeType), QString());
    return FirstEntry(value) == QLatin1String(kIconEntry);
}

void AssociateIco(const QString& programPath)
{
    const QString file = MimeAppsFile();
    if (file.isEmpty())
        return;
    IniFile ini = ReadDefaults(file);
    const QString mime = QLatin1String(kIcoMimeType);
    const QString old = ini.ReadString(kDefaultsGroup, mime, QString());
    if (!old.isEmpty() && FirstEntry(old) != QLatin1String(kIconEntry))
        ini.WriteString(kPreviousGroup, mime, old);
    ini.WriteString(kDefaultsGroup, mime, QLatin1String(kIconEntry));
    Store(ini);
    // File managers list the default handler by this name.
    WriteEntry(kIconEntry, QStringLiteral("Glimt"), programPath, mime + QLatin1Char(';'), false);
}

void UnassociateIco()
{
    const QString file = MimeAppsFile();
    if (file.isEmpty())
        return;
    IniFile ini = ReadDefaults(file);
    const QString mime = QLatin1String(kIcoMimeType);
    if (FirstEntry(ini.ReadString(kDefaultsGroup, mime, QString())) != QLatin1String(kIconEntry))
        return;
    const QString previous = ini.ReadString(kPreviousGroup, mime, QString());
    // Without a saved default the desktop's own default applies again, rather than a default
    // naming an entry that is gone.
    if (previous.isEmpty())
        ini.DeleteKey(kDefaultsGroup, mime);
    else
        ini.WriteString(kDefaultsGroup, mime, previous);
    ini.DeleteSection(kPreviousGroup);
    Store(ini);
    RemoveEntry(kIconEntry);
}

void SetIcoAssociation(const QString& programPath, bool set)
{
    if (set)
        AssociateIco(programPath);
    else
        UnassociateIco();
}

} // namespace glimt
