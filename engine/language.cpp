#include "engine/language.h"

#include <QDir>
#include <QFileInfo>

#include <iterator>
#include <cstring>

namespace {

// The English text is the one passed with the key at every call.
constexpr glimt::MessageText kMessages[] = {
    {"msg16Col", "16 Colors"},
    {"msg256Col", "256 Colors"},
    {"msg2Col", "2 Colors"},
    {"msgAll", "All Files"},
    {"msgAllFormats", "All Formats"},
    {"msgAlreadyOpen", "The file is already open!"},
    {"msgAlredyExists", "%s1 already exists! Overwrite?"},
    {"msgBadExt", "Unknown file extension: %s1"},
    {"msgBigImg", "Image ignored: Too big (%i1x%i2)"},
    {"msgBinary", "Binary"},
    {"msgBlue", "B"},
    {"msgBmp", "Bitmap"},
    {"msgBrightness", "B"},
    {"msgCancelled", "Operation canceled by user!"},
    {"msgClose", "Close"},
    {"msgComplete", "Operation completed!"},
    {"msgCur", "Windows Cursor"},
    {"msgDamagedIcon", "%s1 is damaged: %i1 of its %i2 images could not be read."},
    {"msgDeleteImg", "Delete the current image? (This can not be undone!)"},
    {"msgDeleteLast", "Cannot delete last image!"},
    {"msgDirSelect", "Select a directory"},
    {"msgDll", "Dynamic Link Library"},
    {"msgError", "Error: "},
    {"msgErrorOpen", "Cannot open file"},
    {"msgErrorSave", "Cannot save file"},
    {"msgExe", "Executable"},
    {"msgFewColors", "The palette was containing only %i1 colors."},
    {"msgFileNotFound", "The file %s1 does not exist!"},
    {"msgFolderNotFound", "The folder %s1 does not exist!"},
    {"msgFolderNotWritable", "Files cannot be written into %s1!"},
    {"msgFrame", "Frame %i1"},
    {"msgGif", "Graphics Interchange Format"},
    {"msgGreen", "G"},
    {"msgHeight", "H"},
    {"msgHue", "H"},
    {"msgIcl", "Icon Library"},
    {"msgIco", "Windows Icon"},
    {"msgIcon", "Icon %i1"},
    {"msgImages", "Images"},
    {"msgInvalidFormat", "Invalid File Format!"},
    {"msgInvalidPal", "Invalid palette file!"},
    {"msgInvalidType", "Invalid file type!"},
    {"msgJpg", "Jpg Image"},
    {"msgLastEffect", "Last Effect (%s1)"},
    {"msglblDim", "Dimension: %i1 x %i2"},
    {"msglblImageNo", "Image Number: %i1"},
    {"msglblLocation", "Location: %s1"},
    {"msglblName", "Name: %s1"},
    {"msglblSize", "Size: %i1 bytes"},
    {"msglblType", "Data Type: %i1 bits"},
    {"msgManyColors", "%i1 colors read, rest of the palette was ignored."},
    {"msgMaxWindows", "Too many open windows!"},
    {"msgNoBlack", "The palette does not include the color Black."},
    {"msgNoCapture", "The screen could not be captured!"},
    {"msgNoIcon", "The file does not contain icons"},
    {"msgNoSelection", "The icon must contain at least one image format!"},
    {"msgNot32Bit", "This is not a 32bit file. Extraction will not be exact!"},
    {"msgNotBMP", "Invalid bmp file!"},
    {"msgNotGIF", "Invalid gif file!"},
    {"msgNotJPG", "Invalid jpg file!"},
    {"msgNotPNG", "Invalid png file!"},
    {"msgNotSelected", "No image is selected!"},
    {"msgNotSupported", "%i1 bit images are not suported!"},
    {"msgNotUnique", "There is already an image with this format in the icon!"},
    {"msgObject", "%i1 objects"},
    {"msgOcx", "OCX Files"},
    {"msgOK", "OK"},
    {"msgOpacity", "Opacity"},
    {"msgPng", "Portable Network Graphic"},
    {"msgProcessing", "- Processing: "},
    {"msgReadObject", "Reading object %i1 from %i2"},
    {"msgRed", "R"},
    {"msgSaturation", "S"},
    {"msgSave", "Save changes to %s1 ?"},
    {"msgSavedAsIcon", "Cursors cannot be written: the document is saved as the icon %s1."},
    {"msgSearch", "Searching image files... Press Esc to stop"},
    {"msgSelectedObject", "%i1 selected objects"},
    {"msgStop", "Stop"},
    {"msgSuccess", "Success: "},
    {"msgSuccessReason", "File created successfully"},
    {"msgTrauColAlpha", "True Color+Alpha"},
    {"msgTrueCol", "True Color"},
    {"msgUnknown", "Unknown file type!"},
    {"msgUntitled", "Untitled"},
    {"msgWarning", "Warning: "},
    {"msgWidth", "W"},
};

} // namespace

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

const MessageText* MessageTable(std::size_t& count)
{
    count = std::size(kMessages);
    return kMessages;
}

const char* EnglishMessage(const char* key)
{
    for (const MessageText& m : kMessages)
        if (std::strcmp(m.key, key) == 0)
            return m.english;
    return nullptr;
}

QString CaptionKey(const QString& componentName)
{
    return componentName + QLatin1String(".Caption");
}

QString HintKey(const QString& componentName)
{
    return componentName + QLatin1String(".Hint");
}

QString ItemKey(const QString& componentName, int index)
{
    return componentName + QLatin1String(".Item") + QString::number(index);
}

QString MenuKey(int listNumber, int itemIndex)
{
    return QString::number(listNumber) + QLatin1Char('-') + QString::number(itemIndex) + QLatin1String(".Menu");
}

namespace {

QString LanguagesFolder(const QString& programFolder)
{
    return programFolder + QLatin1String("/Languages");
}

// The language of a file name ("Deutsch.LNG" is "Deutsch"); "" when it is no language file.
QString LanguageOf(const QString& fileName)
{
    const QLatin1String ext(".lng");
    if (fileName.size() <= ext.size() || !fileName.endsWith(ext, Qt::CaseInsensitive))
        return QString();
    return fileName.left(fileName.size() - ext.size());
}

// The regular files of the folder (FIFOs and devices are never listed: reading one would
// block), hidden ones included, in the folder's own order.
QStringList FilesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Unsorted);
}

} // namespace

QString LanguageFileName(const QString& programFolder, const QString& language)
{
    const QString folder = LanguagesFolder(programFolder);
    const QString exact = folder + QLatin1Char('/') + language + QLatin1String(".lng");
    if (language.isEmpty() || QFileInfo::exists(exact))
        return exact;
    for (const QString& file : FilesOf(folder))
        if (LanguageOf(file) == language)
            return folder + QLatin1Char('/') + file;
    return exact;
}

QStringList LanguageNames(const QString& programFolder)
{
    QStringList names;
    for (const QString& file : FilesOf(LanguagesFolder(programFolder))) {
        const QString language = LanguageOf(file);
        if (!language.isEmpty())
            names.append(language);
    }
    return names;
}

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

QString MsgSII(const char* key, const char* english, const QString& s1, long long i1, long long i2)
{
    // The text is filled in last, so that a placeholder inside it stays as it is.
    return ReplaceOnce(MsgII(key, english, i1, i2), QStringLiteral("%s1"), s1);
}

} // namespace glimt
