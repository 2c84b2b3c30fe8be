#pragma once
#include <QDialog>
#include <cstdint>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace glimt {

// A modal question of two answers with a check box that makes the answer the default: a
// message, two radio buttons (Choice 0 and 1), "Use this setting as default" and an OK button.
// The only way out is OK (or Enter): Escape and closing the window do nothing. Created once and
// kept, so the last answer and the radios carry over to the next showing.
class TChoiceDialog : public QDialog {
    Q_OBJECT
public:
    // The answer: 0 the first radio button, 1 the second.
    std::uint8_t Choice = 0;

    // Shows the dialog modally and returns Choice.
    int Ask();

    QLabel* lblMsg = nullptr;
    QRadioButton* rbFirst = nullptr;
    QRadioButton* rbSecond = nullptr;
    QCheckBox* cbDefault = nullptr;
    QPushButton* OKButton = nullptr;

protected:
    // `formName` is the form's object name; the controls take the given object names and texts.
    // `setting` is the settings field that takes Choice when the check box is ticked.
    struct TChoiceNames {
        const char* formName;
        const char* message;
        const char* messageText;
        const char* firstName;
        const char* firstText;
        const char* secondName;
        const char* secondText;
        const char* okName;
    };
    TChoiceDialog(QWidget* parent, const TChoiceNames& names, std::uint8_t& setting);

    // A click on either radio: Choice follows the checked one.
    void RadioClick();
    // OK: the setting takes Choice when the check box is ticked; the dialog closes.
    void OKClick();

    void keyPressEvent(QKeyEvent* event) override;

public:
    // Escape, and closing by the window system, answer nothing: the question stays.
    void reject() override;

private:
    std::uint8_t& m_setting;
};

} // namespace glimt
