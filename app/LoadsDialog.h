#pragma once
// The "Loads" editor: a modal dialog bound to the session's editor state.
#include <QDialog>
#include <functional>

#include "app/shell/Session.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace velta {

class EditorGrid;

class TChargementFiche : public QDialog {
    Q_OBJECT
public:
    // redraw2D redraws the main window's 2D geometry view; the editor calls it
    // after its commit, also when the commit records a failure.
    TChargementFiche(Session& session, std::function<void()> redraw2D, QWidget* parent = nullptr);

    // "Annuler", the Escape key and the close box.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OKButtonClick();
    void commitPendingEdits();
    void refresh();

    Session& s_;
    std::function<void()> redraw2D_;
    bool refreshing_ = false;

    QComboBox* groutComboBox_;
    QLineEdit *rweEdit_, *tweEdit_;
    QLabel *groutUnitLabel_, *rweUnitLabel_, *tweUnitLabel_;
    QCheckBox *weightCheckBox_, *thUniCheckBox_, *thLinCheckBox_;
    EditorGrid *thUniGrid_, *thLinGrid_;
};

} // namespace velta
