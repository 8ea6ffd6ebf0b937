#pragma once
// Colour-filled contour views of the results on the developed elevation of
// the dam: the radial deflection, and on each face the first and the second
// principal stress. The result points of neighbouring cantilevers are
// joined into triangles; values between the points are linear on each
// triangle, so each band of the colour scale is cut out of a triangle as a
// convex polygon and each contour level crosses it as a straight segment
// (marching triangles). The arch and cantilever grid and the foundation
// line are drawn over the colours, with a colour scale bar in the current
// units and the extremes marked.
#include <array>
#include <string>
#include <vector>

#include "graphics/Canvas.h"
#include "graphics/ColourMaps.h"
#include "graphics/ViewContext.h"

namespace velta {

// A result point: developed abscissa and elevation in feet, the value in
// the units shown.
struct FieldNode {
    double x = 0, z = 0, v = 0;
    int slot = 0;
};

struct ContourField {
    std::vector<FieldNode> nodes;
    std::vector<std::array<int, 3>> triangles;
    // Index of the node with the smallest and the largest value (-1 when
    // there is no node); the first one found wins a tie.
    int minNode() const;
    int maxNode() const;
};

// Joins each column of nodes to the next one (each column a cantilever, its
// nodes from the top down) by a strip of triangles, advancing down whichever
// column has the higher next node. Empty columns break the strip.
ContourField triangulateColumns(const std::vector<std::vector<FieldNode>>& columns);

enum class ContourQuantity { Deflection, Prin1Up, Prin2Up, Prin1Down, Prin2Down };

// The result points of the used slots. Positions come from the imperial
// layer; the upstream face is seen from upstream (abscissas negated, as the
// symbol view draws it). Values come from the layer UnitSystem selects:
// deflections in inches or millimetres, stresses in psi or MPa.
ContourField resultField(const ViewContext& s, ContourQuantity q);
// "inches", "mm", "psi" or "MPa".
std::string contourUnit(const ViewContext& s, ContourQuantity q);
// Decimals of the numbers written for the quantity in the current units.
int contourDecimals(const ViewContext& s, ContourQuantity q);

// Levels strictly between lo and hi at multiples of a round step (1, 2 or
// 5 times a power of ten) giving about `bands` bands; none when hi <= lo.
std::vector<double> contourLevels(double lo, double hi, int bands = 10);

struct WorldPoint {
    double x = 0, z = 0;
};
// The part of triangle abc where lo <= v <= hi, a convex polygon (empty
// when the band misses the triangle).
std::vector<WorldPoint> bandPolygon(const FieldNode& a, const FieldNode& b, const FieldNode& c, double lo,
                                    double hi);
// The segment where the linear field of triangle abc equals `level`; false
// when the level does not cross the triangle.
bool isoSegment(const FieldNode& a, const FieldNode& b, const FieldNode& c, double level, WorldPoint& p,
                WorldPoint& q);

// The colour scale of a panel: its ends are the extremes of the data.
struct ContourScale {
    double min = 0, max = 0;
    std::vector<double> levels;
    ColourScale colours;
};
ContourScale contourScale(const ContourField& f, ColourScale::Kind kind);

struct PanelBox {
    int x = 0, y = 0, w = 0, h = 0;
};
// Draws one field in the box: colours, contour lines, grid, foundation,
// extremes, title and scale bar. Fits the drawing state to the box.
void DrawContourPanel(const ViewContext& s, Canvas& c, ContourQuantity q, const PanelBox& box, const std::string& title);

// The three contour views; each records its ViewKind and clears the image.
bool ContourDeflectionClick(const ViewContext& s, Canvas& c);
bool ContourStressUpClick(const ViewContext& s, Canvas& c);
bool ContourStressDownClick(const ViewContext& s, Canvas& c);

bool isContourView(int viewKind);
// Draws the contour view of the given kind; false for another kind.
bool drawContourView(const ViewContext& s, Canvas& c, int viewKind);
// The contour view the "Contours" button shows after the view on screen:
// the deflection contours after the deflection view, the downstream face
// after the stress view, then the other face on each press; otherwise the
// deflection contours, or the stresses when only those were read. -1 when
// the results hold neither.
int contourViewAfter(const ViewContext& s, int viewKind);

} // namespace velta
