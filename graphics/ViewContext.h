#pragma once
// What the drawing procedures work on: the case, the results of the tab
// shown, the view and drawing state, the window's marks, buttons and hint,
// the message sink for drawing failures, and the number of centres the
// geometry editor shows. The members refer to the session's own objects; a
// CaseViews turns into one where a drawing procedure is called.
#include "graphics/DrawState.h"
#include "model/CaseModel.h"
#include "model/Messages.h"
#include "model/WindowState.h"
#include "solver/ResultsModel.h"

namespace velta {

struct ViewContext {
    const CaseModel& model;
    const ResultsModel& results;
    ViewState& view;
    DrawState& draw;
    MainWindowState& main;
    MessageSink& messages;
    int shownCentres;  // the geometry editor's centre count (1 or 2)
};

}  // namespace velta
