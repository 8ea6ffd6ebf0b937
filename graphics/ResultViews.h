#pragma once
// The result buttons of the main window and the controls acting on the view
// shown ("Values", "+", "-"). Each handler composes its whole view on the
// canvas from the models; it returns false when the drawing stopped on data
// it could not draw (the reason went to the session's messages).
#include "graphics/Canvas.h"
#include "graphics/ViewContext.h"

namespace velta {

bool DeformeeButtonClick(const ViewContext& s, Canvas& c); // "Radial deflection"
bool SiButtonClick(const ViewContext& s, Canvas& c);       // "Principal stresses"
bool FappuiButtonClick(const ViewContext& s, Canvas& c);   // "Forces on abutment"
bool LoadButtonClick(const ViewContext& s, Canvas& c);     // "Arch/Cantilever loads"

// "Values": the next values mode of the view shown, then a redraw. In the
// 3D and load views a mode of 2 left by another view counts as 0 and
// becomes 1, so the press always shows the labels.
void ValeurButtonClick(const ViewContext& s, Canvas& c);
// "+" and "-": the current view's magnification times or over 1.1.
void PlusButtonClick(const ViewContext& s, Canvas& c);
void MoinsButtonClick(const ViewContext& s, Canvas& c);

// Draws the view recorded in ViewKind as its button would.
bool redrawCurrentView(const ViewContext& s, Canvas& c);

} // namespace velta
