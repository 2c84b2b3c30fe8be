#pragma once
#include "engine/MyPixel.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace glimt {

// The answer of a question box.
enum class TAnswer { Yes, No, Cancel };

// What a file dialog starts from and what it gives back. `filter` uses Qt's form
// ("Icons (*.ico);;All files (*)"); `filterIndex` is 0-based, read on entry and updated with
// the user's choice when the dialog is accepted.
struct TFileRequest {
    QString title;
    QString directory;
    QString fileName;
    QString filter;
    int filterIndex = 0;
    // The open dialog shows a preview of the picture under the cursor.
    bool picturePreview = false;
};

// Every question and file dialog of the editor and the shell goes through this interface, so
// that tests answer them without a modal loop. The program installs QtUserDialogs; tests
// install a scripted fake. Windows never call QMessageBox or QFileDialog themselves.
class IUserDialogs {
public:
    virtual ~IUserDialogs() = default;
    // Boxes with an OK button.
    virtual void Warning(const QString& text) = 0;
    virtual void Error(const QString& text) = 0;
    virtual void Information(const QString& text) = 0;
    // A confirmation with Yes and No; true for Yes.
    virtual bool YesNo(const QString& text) = 0;
    // A question with Yes, No and Cancel (Esc and the close box answer Cancel).
    virtual TAnswer YesNoCancel(const QString& text) = 0;
    // The open dialog: false when cancelled; else `files` holds the chosen absolute paths in
    // the dialog's order (one unless `multiple`).
    virtual bool OpenFileNames(TFileRequest& request, bool multiple, QStringList& files) = 0;
    // The save dialog: false when cancelled; else `file` is the chosen absolute path. The
    // dialog does not ask about overwriting; callers ask through YesNo when they need to.
    virtual bool SaveFileName(TFileRequest& request, QString& file) = 0;
    // The colour dialog, starting from `color`: false when cancelled; else `color` is the
    // chosen colour.
    virtual bool ChooseColor(TColor& color) = 0;
    // The folder picker, titled request.title and starting at request.directory: false when
    // cancelled; else `folder` is the chosen absolute path.
    virtual bool FolderName(TFileRequest& request, QString& folder)
    {
        (void)request;
        (void)folder;
        return false;
    }
};

// Message boxes and file dialogs of Qt, parented to `parent` (may be null; not owned).
class QtUserDialogs : public IUserDialogs {
public:
    explicit QtUserDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }

    void Warning(const QString& text) override;
    void Error(const QString& text) override;
    void Information(const QString& text) override;
    bool YesNo(const QString& text) override;
    TAnswer YesNoCancel(const QString& text) override;
    bool OpenFileNames(TFileRequest& request, bool multiple, QStringList& files) override;
    bool SaveFileName(TFileRequest& request, QString& file) override;
    bool ChooseColor(TColor& color) override;
    bool FolderName(TFileRequest& request, QString& folder) override;

private:
    QWidget* m_parent;
};

// The installed dialogs (never null: a QtUserDialogs without parent until one is installed).
IUserDialogs& UserDialogs();
// Installs `dialogs` (not owned; null restores the default). Returns the previous one (null
// when that was the default).
IUserDialogs* SetUserDialogs(IUserDialogs* dialogs);

// RAII installation, for tests and for the program's lifetime.
class ScopedUserDialogs {
public:
    explicit ScopedUserDialogs(IUserDialogs* dialogs) : m_previous(SetUserDialogs(dialogs)) {}
    ~ScopedUserDialogs() { SetUserDialogs(m_previous); }
    ScopedUserDialogs(const ScopedUserDialogs&) = delete;
    ScopedUserDialogs& operator=(const ScopedUserDialogs&) = delete;

private:
    IUserDialogs* m_previous;
};

} // namespace glimt
