#pragma once
// The "Material properties" editor: a modal dialog bound to the session's editor state.
#include <QDialog>
#include <functional>

#include "app/shell/Session.h"

class QButtonGroup;
class QLabel;
class QLineEdit;

namespace velta {

class EditorGrid;

class TMateriauFiche : public QDialog {
    Q_OBJECT
public:
    // redraw2D redraws the main window's 2D geometry view; the editor calls it
    // after its commit, also when the commit records a failure.
    TMateriauFiche(Session& session, std::function<void()> redraw2D, QWidget* parent = nullptr);

    // "Annuler", the Escape key and the close box.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OKButtonClick();
    void refresh();

    Session& s_;
    std::function<void()> redraw2D_;
    bool refreshing_ = false;

    QLineEdit *ecEdit_, *nucEdit_, *wcEdit_, *thecEdit_, *erEdit_, *nurEdit_;
    QLabel *ecUnitLabel_, *wcUnitLabel_, *thecUnitLabel_, *erUnitLabel_;
    QButtonGroup* defGroup_;
    EditorGrid* defGrid_;
};

} // namespace velta
