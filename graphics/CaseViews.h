#pragma once
// What the views draw from: the case as the editors hold it, the results of
// the tab shown, and the view and drawing state.
#include "forms/CaseEditors.h"
#include "graphics/DrawState.h"
#include "graphics/ViewContext.h"
#include "solver/ResultsModel.h"

namespace velta {

class CaseViews : public CaseEditors {
public:
    using CaseEditors::CaseEditors;

    ResultsModel results;
    ViewState view;
    DrawState draw;

    // The part the drawing procedures take.
    ViewContext viewContext() { return {model, results, view, draw, main, messages, geo.NbCenterEdit}; }
    operator ViewContext() { return viewContext(); }
};

}  // namespace velta
