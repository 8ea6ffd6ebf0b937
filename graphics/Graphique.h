#pragma once
// The drawing procedures of the main image: the world-to-screen fits and the
// rectangle zoom, the 2D geometry views, the developed-view plots of the
// results, the 3D wire frame and the mouse navigation. Each reads the case,
// the results and the drawing state from the case views and draws on a Canvas.
//
// Drawing procedures throw on data they cannot draw (ConversionError for a
// cell that is not a number, std::domain_error for a circle that does not
// reach, DrawingError for a fit without extent); the handlers (the button
// and mouse handlers) stop at that point, keep what was drawn and report
// the failure through the message sink.
#include <functional>
#include <stdexcept>
#include <string>

#include "graphics/Canvas.h"
#include "graphics/ViewContext.h"

namespace velta {

class DrawingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Nearest pixel, halves to the even neighbour.
int px(double v);

// The value of pi by which the drawing rules turn an angle into an arc length
// along the developed axis (x * kDrawingPi / 180). The approximation is
// deliberate: the views are placed by it, so it must stay 3.14.
inline constexpr double kDrawingPi = 3.14;

// Runs `draw`; on failure reports "Drawing stopped: <reason>" through the
// session's messages and returns false.
bool drawGuarded(const ViewContext& s, const std::function<void()>& draw);

// --- Drawing surface and scaling ---------------------------------------

void ClearImage(const ViewContext& s, Canvas& c);
// The fits throw DrawingError when the dam height or the developed crest
// length is not positive, leaving the mapping as it was.
void FitDevelopedView(const ViewContext& s, const Canvas& c);
void FitLowerHalf(const ViewContext& s, const Canvas& c);
void FitUpperHalf(const ViewContext& s, const Canvas& c);
void Fit3DView(const ViewContext& s, const Canvas& c);
// Centres the rectangle and fits its limiting side to the image. Does
// nothing for a rectangle with y2 <= y1 or x2 < x1.
void ZoomToRectangle(const Canvas& c, int x1, int x2, int y1, int y2, int& originX, int& originY,
                     double& scale);
// Developed crest length in feet, from the crest arch's abutment angles.
double crestLength(const ViewContext& s);

// --- 2D geometry views ---------------------------------------------------

bool GeometrieButtonClick(const ViewContext& s, Canvas& c);
void DrawCrownSection(const ViewContext& s, Canvas& c);
void DrawDevelopedMesh(const ViewContext& s, Canvas& c);
void DrawMeshFromUpstream(const ViewContext& s, Canvas& c);

// --- Developed-view plots ------------------------------------------------

void DrawDeflections(const ViewContext& s, Canvas& c);
void DrawDownstreamStresses(const ViewContext& s, Canvas& c);
void DrawUpstreamStresses(const ViewContext& s, Canvas& c);
void DrawAbutmentForces(const ViewContext& s, Canvas& c);
void DrawCantileverSections(const ViewContext& s, Canvas& c);
void DrawSectionForce(const ViewContext& s, Canvas& c, int slot, int x, int y);
void DrawLoadSplit(const ViewContext& s, Canvas& c);

// --- 3D view and mouse navigation ---------------------------------------

struct ProjectedPoint {
    double x = 0, y = 0;
};
struct SpacePoint {
    double x = 0, y = 0, z = 0;
};

// The five phrases of the 3D view's hint, joined by carriage returns.
extern const char* const kHint3D;

bool GeometrieButton3dClick(const ViewContext& s, Canvas& c);
void Draw3DView(const ViewContext& s, Canvas& c);
void Draw3DCantilevers(const ViewContext& s, Canvas& c);
void Draw3DArches(const ViewContext& s, Canvas& c);
// Scales a dam point (x transverse, y abscissa, z elevation, feet) into
// image units with the current mapping, unrounded.
SpacePoint scalePoint(const ViewContext& s, double x, double y, double z);
ProjectedPoint ProjectPoint(const ViewContext& s, const Canvas& c, const SpacePoint& p);

enum class MouseButton { Left, Right, Middle };
// The held modifiers and buttons, compared as an exact set.
enum ShiftFlag : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
};
using ShiftState = unsigned;

enum class CursorShape { Arrow, Move };
using CursorHook = std::function<void(CursorShape)>;

void MainImageMouseDown(const ViewContext& s, Canvas& c, MouseButton button, ShiftState shift, int x, int y);
// Failures while redrawing during a drag are not reported (the button that
// showed the view has reported them); the release reports them.
void MainImageMouseMove(const ViewContext& s, Canvas& c, ShiftState shift, int x, int y,
                        const CursorHook& setCursor = {});
void MainImageMouseUp(const ViewContext& s, Canvas& c, MouseButton button, ShiftState shift, int x, int y,
                      const CursorHook& setCursor = {});

// --- shared by the views -------------------------------------------------

// Screen x of the text placed around the current origin: ViewOriginX - 2 x length.
int centredX(const ViewContext& s, const std::string& text);
void setPen(Canvas& c, Color color, int width, PenStyle style);
// Developed abscissa of slot i (feet) with the radius of its side.
double developedX(const ViewContext& s, int slot);

} // namespace velta
