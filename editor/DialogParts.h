#pragma once
#include <QString>
#include <functional>

class QFrame;
class QLabel;
class QWidget;

namespace glimt {

// The white strip at the top of the program's dialogs: the banner picture at the right, a bold
// title and a line of help below it. Object names "Panel3", "Image4", "lblCaption", "lblHelp".
struct TDialogHeader {
    QFrame* Panel3 = nullptr;
    QLabel* Image4 = nullptr;
    QLabel* lblCaption = nullptr;
    QLabel* lblHelp = nullptr;

    // Makes the strip in `dialog`, `width` pixels wide.
    void Create(QWidget* dialog, const QString& caption, const QString& help, int width);
    // Stretches the strip to a new dialog width.
    void Place(int width);
};

// Runs `body`; a failure that leaves it is shown in an error box instead of leaving the
// button handler or dialog step that ran it (and with it Qt's event loop).
void ReportFailures(const std::function<void()>& body);

} // namespace glimt
