#pragma once
// The views of the main image, described once: the batch tool's name, the
// window's button (object name and caption), the control that the case or
// the results reader enables it by, and the procedure that draws it. The
// window, the batch tool's "draw" and "run" and the redraws read this table;
// a new view is a new row.
#include <string>
#include <string_view>
#include <vector>

#include "graphics/Canvas.h"
#include "graphics/ViewContext.h"

namespace velta {

struct ViewSpec {
    int kind;               // the ViewKind value
    const char* name;       // the batch tool's name of the view
    const char* button;     // the window button's object name; empty: no button of its own
    const char* caption;    // the window button's caption
    bool MainWindowState::*control;  // enables the button or, for a result view, tells it was read
    bool needsResults;      // drawn from the results read back, not from the case alone
    bool (*draw)(const ViewContext& s, Canvas& c);  // as its button draws it
};

// In the order the window offers them: its buttons first, then the
// contour views that the "Contours" button steps through.
const std::vector<ViewSpec>& viewTable();
// The row of a view, or nullptr.
const ViewSpec* viewByName(std::string_view name);
const ViewSpec* viewByKind(int kind);
// The views that have a button of their own, in the window's order.
std::vector<const ViewSpec*> buttonViews();

// Whether the controls set by the results reader allow the view; a view
// drawn from the case alone always is.
bool viewAvailable(const MainWindowState& w, const ViewSpec& v);
// Draws the view of `kind`; false for a kind with no row or when the
// drawing stopped.
bool drawViewOfKind(const ViewContext& s, Canvas& c, int kind);
// The batch tool's view names: "a, b, ... or z".
std::string viewNameList();

}  // namespace velta
