#pragma once
// The "Geometry" editor: a modal dialog bound to the session's editor state.
#include <QDialog>
#include <functional>

#include "model/Session.h"

namespace velta {

class TGeometrieFiche : public QDialog {
    Q_OBJECT
public:
    // redraw2D redraws the main window's 2D geometry view; the editor calls it
    // after its commit, also when the commit records a failure.
    TGeometrieFiche(Session& session, std::function<void()> redraw2D, QWidget* parent = nullptr);

private:
    Session& s_;
    std::function<void()> redraw2D_;
};

}  // namespace velta
