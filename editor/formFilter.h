#pragma once
#include "editor/EffectDialog.h"
#include "engine/MyFilter.h"

#include <array>

class QComboBox;
class QLineEdit;

// A 5 x 5 convolution kernel typed by the user or started from a sample, tried on the preview
// by Test and applied by OK. The boxes keep the last kernel between showings: it is what Last
// Effect applies again.
class TfrmFilter : public glimt::TEffectDialog {
    Q_OBJECT
public:
    explicit TfrmFilter(QWidget* parent = nullptr);

    // Edits[0..24] the weights row by row (Edit1..Edit25), [25] the divisor (Edit26), [26] the
    // offset (Edit27).
    std::array<QLineEdit*, 27> Edits{};
    QComboBox* cmbSample = nullptr;
    QPushButton* btnReset = nullptr;
    QPushButton* btnTest = nullptr;

    // The preset entry a sample item loads; -1 for item 0 ("None") and items outside the list.
    static int SampleEntry(int item);

    void SetFilterEdits(const TFilterKernel& kernel);
    // Reads the 27 boxes; throws glimt::Error naming the first box that holds no 32-bit whole
    // number (empty, a lone "-", pasted text).
    TFilterKernel GetFilterKernel() const;

    // A weight box changed: the divisor becomes the sum of the 25 weights, summed in 64 bits,
    // while every weight box holds a number.
    void Edit1Change();
    void cmbSampleChange();
    void btnResetClick();
    void btnTestClick();
    // Reads the kernel before anything changes; a box without a number is reported and
    // nothing is filtered (no undo step either).
    void btnOKClick() override;

signals:
    // OK applied the kernel (the main window makes the custom filter its last effect).
    void FilterApplied();

protected:
    void Operation(TmyImagePal& image, bool preview) override;
    void Shown() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The kernel of the boxes; false after reporting the box that holds no number.
    bool ReadKernel(TFilterKernel& kernel) const;
};
