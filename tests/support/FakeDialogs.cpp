#include "tests/support/FakeDialogs.h"

namespace glimt::test {

int FakeDialogs::Count(Kind kind) const
{
    int n = 0;
    for (const Asked& a : Log)
        n += a.kind == kind ? 1 : 0;
    return n;
}

QStringList FakeDialogs::Texts(Kind kind) const
{
    QStringList texts;
    for (const Asked& a : Log)
        if (a.kind == kind)
            texts << a.text;
    return texts;
}

int FakeDialogs::BoxCount() const
{
    int n = 0;
    for (const Asked& a : Log)
        n += a.kind != Kind::Open && a.kind != Kind::Save && a.kind != Kind::Color && a.kind != Kind::Folder ? 1 : 0;
    return n;
}

void FakeDialogs::Warning(const QString& text)
{
    Log.push_back({Kind::Warning, text, {}});
}

void FakeDialogs::Error(const QString& text)
{
    Log.push_back({Kind::Error, text, {}});
}

void FakeDialogs::Information(const QString& text)
{
    Log.push_back({Kind::Information, text, {}});
}

bool FakeDialogs::YesNo(const QString& text)
{
    Log.push_back({Kind::YesNo, text, {}});
    if (Answers.empty()) {
        ++Unexpected;
        return false;
    }
    const TAnswer a = Answers.front();
    Answers.pop_front();
    return a == TAnswer::Yes;
}

TAnswer FakeDialogs::YesNoCancel(const QString& text)
{
    Log.push_back({Kind::YesNoCancel, text, {}});
    if (Answers.empty()) {
        ++Unexpected;
        return TAnswer::Cancel;
    }
    const TAnswer a = Answers.front();
    Answers.pop_front();
    return a;
}

bool FakeDialogs::OpenFileNames(TFileRequest& request, bool, QStringList& files)
{
    Log.push_back({Kind::Open, request.title, request});
    if (OpenResults.empty()) {
        ++Unexpected;
        return false;
    }
    const std::optional<QStringList> r = OpenResults.front();
    OpenResults.pop_front();
    if (!r)
        return false;
    files = *r;
    return true;
}

bool FakeDialogs::SaveFileName(TFileRequest& request, QString& file)
{
    Log.push_back({Kind::Save, request.title, request});
    if (SaveResults.empty()) {
        ++Unexpected;
        return false;
    }
    const std::optional<QString> r = SaveResults.front();
    SaveResults.pop_front();
    if (!r)
        return false;
    file = *r;
    if (!SaveFilterIndices.empty()) {
        request.filterIndex = SaveFilterIndices.front();
        SaveFilterIndices.pop_front();
    }
    return true;
}

bool FakeDialogs::FolderName(TFileRequest& request, QString& folder)
{
    Log.push_back({Kind::Folder, request.title, request});
    if (FolderResults.empty()) {
        ++Unexpected;
        return false;
    }
    const std::optional<QString> r = FolderResults.front();
    FolderResults.pop_front();
    if (!r)
        return false;
    folder = *r;
    return true;
}

bool FakeDialogs::ChooseColor(TColor& color)
{
    Log.push_back({Kind::Color, QString(), {}});
    ColorStarts.push_back(color);
    if (ColorResults.empty()) {
        ++Unexpected;
        return false;
    }
    const std::optional<TColor> r = ColorResults.front();
    ColorResults.pop_front();
    if (!r)
        return false;
    color = *r;
    return true;
}

} // namespace glimt::test
