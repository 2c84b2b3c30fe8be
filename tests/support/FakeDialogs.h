#pragma once
#include "editor/UserDialogs.h"

#include <deque>
#include <optional>
#include <vector>

namespace glimt::test {

// Scripted answers to every question and file dialog, with a log of what was asked.
// Questions take the next scripted answer; an empty script answers No / Cancel / cancels the
// dialog and counts the question in Unexpected, so a test sees a question it did not plan for.
class FakeDialogs : public IUserDialogs {
public:
    enum class Kind { Warning, Error, Information, YesNo, YesNoCancel, Open, Save, Color, Folder };
    struct Asked {
        Kind kind;
        QString text;       // the message, or the dialog's title
        TFileRequest request; // file dialogs only
    };

    // Answers of YesNo (Yes or No) and YesNoCancel, in order.
    std::deque<TAnswer> Answers;
    // Results of the open dialog: a list of paths, or nullopt for Cancel.
    std::deque<std::optional<QStringList>> OpenResults;
    // Results of the save dialog: a path, or nullopt for Cancel.
    std::deque<std::optional<QString>> SaveResults;
    // Results of the colour dialog: a colour, or nullopt for Cancel. The colour each dialog
    // started from is kept in ColorStarts.
    std::deque<std::optional<TColor>> ColorResults;
    std::vector<TColor> ColorStarts;
    // The filter the user picks in the save dialog (0-based), taken with each accepted result
    // while any are left; otherwise the request's index stays as it came.
    std::deque<int> SaveFilterIndices;
    // Results of the folder picker: a path, or nullopt for Cancel.
    std::deque<std::optional<QString>> FolderResults;

    std::vector<Asked> Log;
    int Unexpected = 0;

    // Number of logged questions of a kind, and their texts in order.
    int Count(Kind kind) const;
    QStringList Texts(Kind kind) const;
    // Every box of any kind (messages and questions, not file or colour dialogs).
    int BoxCount() const;

    void Warning(const QString& text) override;
    void Error(const QString& text) override;
    void Information(const QString& text) override;
    bool YesNo(const QString& text) override;
    TAnswer YesNoCancel(const QString& text) override;
    bool OpenFileNames(TFileRequest& request, bool multiple, QStringList& files) override;
    bool SaveFileName(TFileRequest& request, QString& file) override;
    bool ChooseColor(TColor& color) override;
    bool FolderName(TFileRequest& request, QString& folder) override;
};

} // namespace glimt::test
