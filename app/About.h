#pragma once
// The about box: a picture, the program's title, credits, the warning and
// the disclaimer.
#include <QDialog>

namespace velta {

class TAProposFiche : public QDialog {
    Q_OBJECT
public:
    // The picture is read from `picturePath` (a JPEG file beside the program).
    explicit TAProposFiche(QWidget* parent = nullptr, const QString& picturePath = QString());

    static constexpr const char* kTitleText = "VELTA 2020 - Trial-load analysis of arch dams";
    static constexpr const char* kCreditText =
        "Analysis after the trial-load method of the U.S. Bureau of Reclamation; "
        "interface and graphics by the VELTA developers.";
    static constexpr const char* kWarningText = "WARNING :  This program should only be used for educational purposes";
    static constexpr const char* kDisclaimerText =
        "No responsibility is accepted for any consequence\n"
        "of the use of this program or of its results.";
};

}  // namespace velta
