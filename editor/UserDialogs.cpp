#include "editor/UserDialogs.h"

#include "editor/PictureFileDialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace glimt {

namespace {

QtUserDialogs g_default;
IUserDialogs* g_dialogs = &g_default;

QString Title()
{
    return QApplication::applicationDisplayName();
}

// Filter index of `selected` among the ";;"-separated entries of `filter`, 0 when not found.
int FilterIndexOf(const QString& filter, const QString& selected)
{
    const QStringList entries = filter.split(QStringLiteral(";;"));
    const int i = int(entries.indexOf(selected));
    return i < 0 ? 0 : i;
}

QString FilterAt(const QString& filter, int index)
{
    const QStringList entries = filter.split(QStringLiteral(";;"));
    return index >= 0 && index < entries.size() ? entries.at(index) : QString();
}

QString StartPath(const TFileRequest& request)
{
    if (request.fileName.isEmpty())
        return request.directory;
    if (request.directory.isEmpty() || QFileInfo(request.fileName).isAbsolute())
        return request.fileName;
    return request.directory + QLatin1Char('/') + request.fileName;
}

} // namespace

void QtUserDialogs::Warning(const QString& text)
{
    QMessageBox::warning(m_parent, Title(), text);
}

void QtUserDialogs::Error(const QString& text)
{
    QMessageBox::critical(m_parent, Title(), text);
}

void QtUserDialogs::Information(const QString& text)
{
    QMessageBox::information(m_parent, Title(), text);
}

bool QtUserDialogs::YesNo(const QString& text)
{
    return QMessageBox::question(m_parent, Title(), text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
        == QMessageBox::Yes;
}

TAnswer QtUserDialogs::YesNoCancel(const QString& text)
{
    const auto answer = QMessageBox::question(m_parent, Title(), text,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Yes)
        return TAnswer::Yes;
    if (answer == QMessageBox::No)
        return TAnswer::No;
    return TAnswer::Cancel;
}

bool QtUserDialogs::OpenFileNames(TFileRequest& request, bool multiple, QStringList& files)
{
    QString selected = FilterAt(request.filter, request.filterIndex);
    if (request.picturePreview) {
        TPictureFileDialog dialog(m_parent, request.title, StartPath(request), request.filter);
        dialog.setFileMode(multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
        if (!selected.isEmpty())
            dialog.selectNameFilter(selected);
        files = dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
        selected = dialog.selectedNameFilter();
    } else if (multiple) {
        files = QFileDialog::getOpenFileNames(m_parent, request.title, StartPath(request), request.filter, &selected);
    } else {
        const QString one = QFileDialog::getOpenFileName(m_parent, request.title, StartPath(request), request.filter, &selected);
        files = one.isEmpty() ? QStringList() : QStringList{one};
    }
    if (files.isEmpty())
        return false;
    for (QString& f : files)
        f = QFileInfo(f).absoluteFilePath();
    request.filterIndex = FilterIndexOf(request.filter, selected);
    return true;
}

bool QtUserDialogs::SaveFileName(TFileRequest& request, QString& file)
{
    QString selected = FilterAt(request.filter, request.filterIndex);
    const QString chosen = QFileDialog::getSaveFileName(m_parent, request.title, StartPath(request), request.filter,
        &selected, QFileDialog::DontConfirmOverwrite);
    if (chosen.isEmpty())
        return false;
    file = QFileInfo(chosen).absoluteFilePath();
    request.filterIndex = FilterIndexOf(request.filter, selected);
    return true;
}

bool QtUserDialogs::ChooseColor(TColor& color)
{
    const QColor start(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
    const QColor chosen = QColorDialog::getColor(start, m_parent);
    if (!chosen.isValid())
        return false;
    color = TColor(chosen.red()) | (TColor(chosen.green()) << 8) | (TColor(chosen.blue()) << 16);
    return true;
}

bool QtUserDialogs::FolderName(TFileRequest& request, QString& folder)
{
    const QString chosen = QFileDialog::getExistingDirectory(m_parent, request.title, request.directory);
    if (chosen.isEmpty())
        return false;
    folder = QFileInfo(chosen).absoluteFilePath();
    return true;
}

IUserDialogs& UserDialogs()
{
    return *g_dialogs;
}

IUserDialogs* SetUserDialogs(IUserDialogs* dialogs)
{
    IUserDialogs* previous = g_dialogs == &g_default ? nullptr : g_dialogs;
    g_dialogs = dialogs ? dialogs : &g_default;
    return previous;
}

} // namespace glimt
