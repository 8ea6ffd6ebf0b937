// The 2D geometry view: the crown section in the upper half and the
// developed mesh of cantilevers and arches in the lower half. The developed
// mesh is also the background of every result view.
#include <algorithm>
#include <cmath>
#include <limits>

#include "forms/GeometryMath.h"
#include "graphics/Graphique.h"
#include "model/Numbers.h"

namespace velta {

namespace {

bool isBlank(const std::string& cell)
{
    return trim(cell).empty();
}

// A point of the crown section to screen, with the crown-section mapping.
void toScreen(const ViewContext& s, double x, double z, int& sx, int& sy)
{
    sx = s.draw.ViewOriginX + px(s.draw.ViewScale * x);
    sy = s.draw.ViewOriginY - px(s.draw.ViewScale * z);
}

int screenY(const ViewContext& s, double z)
{
    return s.draw.ViewOriginY - px(s.draw.ViewScale * z);
}

void moveToBase(const ViewContext& s, Canvas& c, int t)
{
    const Tab3dim& tab = s.model.FaceTab[t];
    int x, y;
    toScreen(s, parseNumber(tab(0, kColAbscissa, 0)), parseNumber(tab(0, kColElevation, 0)), x, y);
    c.moveTo(x, y);
}

// Draws face table t from its base (the current position) to its top: a
// line per slope row, 10 chords per circle row. Returns the smallest and the
// largest abscissa of the vertices drawn, base included.
void profileWalk(const ViewContext& s, Canvas& c, int t, double& xmin, double& xmax)
{
    const Tab3dim& tab = s.model.FaceTab[t];
    double zPrev = parseNumber(tab(0, kColElevation, 0));
    xmin = xmax = parseNumber(tab(0, kColAbscissa, 0));
    const int rows = std::min(s.model.FaceRows[t], kTabRows - 1);
    auto lineTo = [&](double x, double z) {
        int sx, sy;
        toScreen(s, x, z, sx, sy);
        c.lineTo(sx, sy);
        xmin = std::min(xmin, x);
        xmax = std::max(xmax, x);
    };
    for (int r = 1; r <= rows; ++r) {
        const double z = parseNumber(tab(0, kColElevation, r));
        if (isBlank(tab(0, kColCircleRadius, r))) {
            lineTo(parseNumber(tab(0, kColAbscissa, r)), z);
        } else {
            const double a = parseNumber(tab(0, kColCircleX, r));
            const double b = parseNumber(tab(0, kColCircleZ, r));
            const double rho = parseNumber(tab(0, kColCircleRadius, r));
            for (int k = 1; k <= 10; ++k) {
                const double zk = zPrev + (z - zPrev) / 10 * k;
                lineTo(circleAbscissa(a, b, rho, zk), zk);
            }
        }
        zPrev = z;
    }
}

void walkTable(const ViewContext& s, Canvas& c, int t)
{
    double lo, hi;
    moveToBase(s, c, t);
    profileWalk(s, c, t, lo, hi);
}

// The developed mesh, seen from downstream (sign +1) or from upstream
// (sign -1, abscissas negated). Arch labels and leaders only when asked.
void drawMesh(const ViewContext& s, Canvas& c, double sign, bool labels)
{
    const CaseModel& m = s.model;
    const DrawState& d = s.draw;
    const int first = std::max(m.FirstCons, 0), last = std::min(m.LastCons, kConsSlots - 1);
    auto sx = [&](double R, int slot) {
        return d.ViewOriginX + px(sign * d.ViewScale * R * m.ConsAngle[slot] * kDrawingPi / 180);
    };
    auto R = [&](int slot) { return slot <= kCrownSlot ? m.RadiusR[0] : m.Radius[0]; };
    const int yTop = screenY(s, m.TopElev[0]);
    for (int i = first; i <= last; ++i) {
        const int x = sx(R(i), i);
        c.moveTo(x, screenY(s, m.ConsBaseElev[i]));
        c.lineTo(x, yTop);
    }
    if (first > last) return;
    c.moveTo(sx(m.RadiusR[0], first), screenY(s, m.ConsBaseElev[first]));
    for (int i = first + 1; i <= last; ++i) c.lineTo(sx(R(i), i), screenY(s, m.ConsBaseElev[i]));

    const int U = m.UnitSystem;
    for (int k = 0; k < std::min(m.NbArcs, kTabRows); ++k) {
        const int row = m.NbArcs - 1 - k;
        if (m.ArcTab(0, kArcCode, row) != "0") continue;
        const int left = m.FirstCons + k, right = m.LastCons - k;
        if (left < 0 || left >= kConsSlots || right < 0 || right >= kConsSlots) continue;
        const int y = screenY(s, parseNumber(m.ArcTab(0, kArcElevation, row)));
        const int xa = sx(m.RadiusR[0], left);
        const int xb = sx(m.Radius[0], right);
        if (labels) {
            c.textOut(100, y, m.ArcTab(U, kArcElevation, row));
            c.moveTo(100, y);
            c.setPenStyle(PenStyle::Dot);
            c.lineTo(xa, y);
            c.setPenStyle(PenStyle::Solid);
        }
        c.moveTo(xa, y);
        c.lineTo(xb, y);
    }
}

} // namespace

void DrawDevelopedMesh(const ViewContext& s, Canvas& c)
{
    drawMesh(s, c, 1, s.view.ViewKind == kView2D);
}

void DrawMeshFromUpstream(const ViewContext& s, Canvas& c)
{
    drawMesh(s, c, -1, false);
}

void DrawCrownSection(const ViewContext& s, Canvas& c)
{
    const CaseModel& m = s.model;
    DrawState& d = s.draw;
    const int W = c.width(), H = c.height();
    const int U = m.UnitSystem;
    const double height = m.TopElev[0] - m.BaseElev[0];
    if (!(height > 0) || !std::isfinite(height)) throw DrawingError("the dam height is zero");

    // Mapping: half the larger radius at mid width, the mid elevation at a
    // quarter of the height.
    const double Rmax = m.Radius[0] >= m.RadiusR[0] ? m.Radius[0] : m.RadiusR[0];
    const double sx = Rmax > 0 ? W / Rmax * 2 / 3 : std::numeric_limits<double>::infinity();
    const double sy = (H / 2.0) / height * 3 / 4;
    d.ViewScale = sx < sy ? sx : sy;
    d.ViewOriginX = px(W / 2.0 - Rmax / 2 * d.ViewScale);
    d.ViewOriginY = px((m.TopElev[0] + m.BaseElev[0]) / 2 * d.ViewScale + H / 4.0);

    const bool twoCentres = s.shownCentres == 2;
    const std::string legend =
        twoCentres
            ? "Us / Ds face of the crown cantilever - Us / Ds Left Line of centers (solid line) - Us / Ds "
              "Right Line of centers (dot line) "
            : "Us / Ds face of the crown cantilever - Us / Ds Line of centers";
    c.textOut(px(W / 2.0) - 2 * textLength(legend), 10, legend);

    // Base label of the upstream face, with its leader.
    const Tab3dim& up = m.FaceTab[kUpstreamFace];
    c.setPenStyle(PenStyle::Dot);
    c.setPenWidth(1);
    const int y0 = screenY(s, parseNumber(up(0, kColElevation, 0)));
    c.moveTo(100, y0);
    c.textOut(100, y0, up(U, kColElevation, 0));
    {
        int bx, by;
        toScreen(s, parseNumber(up(0, kColAbscissa, 0)), parseNumber(up(0, kColElevation, 0)), bx, by);
        c.lineTo(bx, by);
    }

    // Upstream face.
    setPen(c, kBlue, 1, PenStyle::Solid);
    double xmin, xmax, unused;
    profileWalk(s, c, kUpstreamFace, xmin, unused);

    // Top label.
    setPen(c, kBlack, 1, PenStyle::Dot);
    const int topRow = std::clamp(m.FaceRows[kUpstreamFace], 0, kTabRows - 1);
    const int y1 = screenY(s, parseNumber(up(0, kColElevation, topRow)));
    c.lineTo(100, y1);
    c.textOut(100, y1, up(U, kColElevation, topRow));

    const bool loads = s.main.ChargementMenu && s.view.ViewKind == kView2D;
    if (loads) {
        c.setPenColor(kBlue);
        const int y = screenY(s, m.Rwe[0]);
        const int x1 = d.ViewOriginX + px(d.ViewScale * xmin);
        c.moveTo(x1, y);
        c.lineTo(x1 - 100, y);
        c.textOut(x1 - 100, y, "RWE " + formatGeneral(m.Rwe[U]));
        c.setPenColor(kBlack);
    }

    // Downstream face.
    setPen(c, kBlack, 1, PenStyle::Solid);
    moveToBase(s, c, kDownstreamFace);
    profileWalk(s, c, kDownstreamFace, unused, xmax);

    if (loads && m.Twe[0] > m.BaseElev[0]) {
        setPen(c, kBlue, 1, PenStyle::Dot);
        const int y = screenY(s, m.Twe[0]);
        const int x1 = d.ViewOriginX + px(d.ViewScale * xmax);
        c.moveTo(x1, y);
        c.lineTo(x1 + 50, y);
        c.textOut(x1 + 50, y, "TWE " + formatGeneral(m.Twe[U]));
        setPen(c, kBlack, 1, PenStyle::Solid);
    }

    // Lines of centres.
    setPen(c, kBlack, 1, PenStyle::Solid);
    walkTable(s, c, kDownstreamLoC);
    c.setPenColor(kBlue);
    walkTable(s, c, kUpstreamLoC);
    c.setPenColor(kBlack);
    if (twoCentres) {
        setPen(c, kBlack, 1, PenStyle::Dot);
        walkTable(s, c, kRightDownstreamLoC);
        c.setPenColor(kBlue);
        walkTable(s, c, kRightUpstreamLoC);
        setPen(c, kBlack, 1, PenStyle::Solid);
    }
}

bool GeometrieButtonClick(const ViewContext& s, Canvas& c)
{
    s.view.ViewKind = kView2D;
    return drawGuarded(s, [&] {
        ClearImage(s, c);
        setPen(c, kBlack, 1, PenStyle::Solid);
        DrawCrownSection(s, c);
        FitLowerHalf(s, c);
        DrawDevelopedMesh(s, c);
        const std::string title = "Developped downstream view of the archs and cantilevers";
        c.textOut(centredX(s, title), px(c.height() / 2.0), title);
    });
}

} // namespace velta
