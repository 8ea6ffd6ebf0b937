#pragma once
// The "Geometry" editor: a modal dialog bound to the session's editor state.
#include <QDialog>
#include <functional>

#include "app/shell/Session.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSpinBox;

namespace velta {

class EditorGrid;
class RefusableTabBar;

class TGeometrieFiche : public QDialog {
    Q_OBJECT
public:
    // redraw2D redraws the main window's 2D geometry view; the editor calls it
    // after its commit, also when the commit records a failure.
    TGeometrieFiche(Session& session, std::function<void()> redraw2D, QWidget* parent = nullptr);

    // "Annuler", the Escape key and the close box.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OKButtonClick();
    // Puts pending grid edits into the editor state before a command runs.
    void beginCommand();
    // Shows the editor state in every control.
    void refresh();
    void updateMenus();

    Session& s_;
    std::function<void()> redraw2D_;
    bool refreshing_ = false;

    QSpinBox* nbCenterEdit_;
    QLineEdit *topDEdit_, *baseDEdit_, *radiusEdit_, *radiusEditR_;
    QLabel *topDUnitLabel_, *baseDUnitLabel_, *radiusUnitLabel_, *radiusUnitLabelR_;
    QLabel *radiusLabel_, *radiusLabelR_, *layoutImage_;
    int picture_ = -1;
    RefusableTabBar* faceTabControl_;
    EditorGrid *structureGrid_, *arcGrid_;
    QButtonGroup* angleGroup_;
    QMenu *facePopupMenu_, *arcPopupMenu_;
    QAction *faceInsert_, *faceChange_, *faceRemove_, *faceCopy_;
    QAction *arcInsert_, *arcChange_, *arcRemove_;
};

} // namespace velta
