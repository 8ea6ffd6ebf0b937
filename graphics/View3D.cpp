// The 3D wire frame (inner cantilever sections and arch outlines) in an
// orthographic projection, and the mouse gestures of the main image.
#include <algorithm>
#include <numbers>
#include <cmath>
#include <vector>

#include "forms/GeometryMath.h"
#include "graphics/Graphique.h"
#include "model/Numbers.h"
#include "graphics/ResultViews.h"

namespace velta {

namespace {


void initialOrientation(const ViewContext& s)
{
    s.draw.RotationX = 90;
    s.draw.RotationZ = 0;
    s.draw.RotationY = 0;
    s.draw.PanX = 0;
    s.draw.PanY = 0;
}

// Rounded projection of a dam point given in polar form about a centre on
// the crown section at abscissa `centre`: radius r, angle beta (radians,
// positive toward the right abutment), elevation z.
struct Pixel {
    int x, y;
    double fx, fy;
};

Pixel polarPixel(const ViewContext& s, const Canvas& c, double centre, double r, double beta, double z)
{
    const ProjectedPoint p =
        ProjectPoint(s, c, scalePoint(s, r * std::sin(beta), centre - r * std::cos(beta), z));
    return Pixel{px(p.x), px(p.y), p.x, p.y};
}

void lineTo(Canvas& c, const Pixel& p)
{
    c.lineTo(p.x, p.y);
}
void moveTo(Canvas& c, const Pixel& p)
{
    c.moveTo(p.x, p.y);
}

void thicknessLabel(const ViewContext& s, Canvas& c, double t, const Pixel& a, const Pixel& b)
{
    const double value = s.model.UnitSystem == kImperial ? t : t * 0.3048;
    c.textOut(px((a.fx + b.fx) / 2), px((a.fy + b.fy) / 2), formatFixed(value, 2));
}

// Intrados abutment angle (radians) that makes the abutment line radial
// from the extrados centre.
double intradosAbutment(double phi, double intradosDist, double extradosDist, double intradosRadius)
{
    const double sp = std::sin(phi);
    if (sp == 0) return 0;
    const double a = std::asin(sp * (intradosDist - extradosDist) / intradosRadius);
    const double d = intradosRadius * std::sin(a + phi) / sp;
    const double beta = std::asin(sp * d / intradosRadius);
    if (!std::isfinite(beta))
        throw std::domain_error("an arch outline cannot be drawn from the planes of centres");
    return beta;
}

bool exactly(ShiftState shift, ShiftState flags)
{
    return shift == flags;
}

} // namespace

const char* const kHint3D =
    "Déplacer:Clique milieu\rRotation:Ctrl+Clique gauche\rZoom:Shift+Clique gauche\r"
    "Zoom fenêtre:Clique droit vers le bas à droite\rZoom initial:Clique droit vers le haut";

SpacePoint scalePoint(const ViewContext& s, double x, double y, double z)
{
    const DrawState& d = s.draw;
    return SpacePoint{d.ViewOriginX + d.ViewScale * x, d.ViewOriginY + d.ViewScale * y,
                      d.ViewScale * (d.ViewMidElevation - z)};
}

ProjectedPoint ProjectPoint(const ViewContext& s, const Canvas& c, const SpacePoint& p)
{
    const double a = s.draw.RotationX * std::numbers::pi / 180, b = s.draw.RotationY * std::numbers::pi / 180,
                 cc = s.draw.RotationZ * std::numbers::pi / 180;
    const double W2 = c.width() / 2.0, H2 = c.height() / 2.0;
    const double X = p.x - W2, Y = p.y - H2, Z = p.z;
    const double ca = std::cos(a), sa = std::sin(a), cb = std::cos(b), sb = std::sin(b), cc_ = std::cos(cc),
                 sc = std::sin(cc);
    const double x = cc_ * cb * X + sc * cb * Y - sb * Z;
    const double y = (cc_ * sb * sa - sc * ca) * X + (cc_ * ca + sc * sb * sa) * Y + sa * cb * Z;
    return ProjectedPoint{x + W2 + s.draw.PanX, y + H2 + s.draw.PanY};
}

void Draw3DCantilevers(const ViewContext& s, Canvas& c)
{
    const CaseModel& m = s.model;
    const ResultsModel& r = s.results;
    c.setPenStyle(PenStyle::Solid);
    c.setPenWidth(1);
    const bool labels = s.view.ValuesMode == 1;
    std::vector<Pixel> U, D;
    for (int b = std::max(m.FirstCons + 1, 0); b <= std::min(m.LastCons - 1, kConsSlots - 1); ++b) {
        const int n = std::clamp(r.ResConsGeomCount[b], 0, kGeomRows);
        if (n == 0) continue;
        const Tab3dim& centres = m.FaceTab[b < kCrownSlot ? kRightUpstreamLoC : kUpstreamLoC];
        U.clear();
        D.clear();
        for (int j = 0; j < n; ++j) {
            const double z = r.ResConsGeom[0][b][j], t = r.ResConsGeom[2][b][j];
            const double alpha = (b < kCrownSlot ? 1 : -1) * r.ResConsGeom[3][b][j] * std::numbers::pi / 180;
            const double cj = AbscisseAtElevation(centres, 0, z);
            const double rho = cj - AbscisseAtElevation(m.FaceTab[kUpstreamFace], 0, z);
            U.push_back(polarPixel(s, c, cj, rho, alpha, z));
            D.push_back(polarPixel(s, c, cj, rho - t, alpha, z));
        }
        moveTo(c, D[0]);
        lineTo(c, U[0]);
        if (labels) {
            thicknessLabel(s, c, r.ResConsGeom[2][b][0], U[0], D[0]);
            moveTo(c, U[0]);
        }
        for (int j = 0; j < n; ++j) lineTo(c, U[j]);
        lineTo(c, D[n - 1]);
        if (labels) {
            thicknessLabel(s, c, r.ResConsGeom[2][b][n - 1], U[n - 1], D[n - 1]);
            moveTo(c, D[n - 1]);
        }
        for (int j = n - 1; j >= 0; --j) lineTo(c, D[j]);
    }
}

void Draw3DArches(const ViewContext& s, Canvas& c)
{
    const CaseModel& m = s.model;
    const ResultsModel& r = s.results;
    const int U = m.UnitSystem;
    for (int k = 0; k < std::clamp(m.NbArcs, 0, kTabRows); ++k) {
        if (m.ArcTab(U, kArcCode, k) != "0") continue;
        const double phiL = parseNumber(m.ArcTab(U, kArcPhiL, k)) * std::numbers::pi / 180;
        const double phiR = parseNumber(m.ArcTab(U, kArcPhiR, k)) * std::numbers::pi / 180;
        auto L = [&](int col) { return r.ResCentresLeft[col][k]; };
        auto R = [&](int col) { return r.ResCentresRight[col][k]; };
        const double z = L(0);
        const double extL = m.Radius[0] - L(2), extR = m.RadiusR[0] - R(2);
        const double intL = m.Radius[0] - L(1), intR = m.RadiusR[0] - R(1);
        const double betaL = intradosAbutment(phiL, L(1), L(2), L(4));
        const double betaR = intradosAbutment(phiR, R(1), R(2), R(4));

        const Pixel A = polarPixel(s, c, extL, L(3), -phiL, z);
        moveTo(c, A);
        for (int i = 1; i <= 10; ++i) lineTo(c, polarPixel(s, c, extL, L(3), -phiL + phiL * i / 10, z));
        Pixel B = A;
        for (int i = 1; i <= 10; ++i) {
            B = polarPixel(s, c, extR, R(3), phiR * i / 10, z);
            lineTo(c, B);
        }
        moveTo(c, A);
        lineTo(c, polarPixel(s, c, intL, L(4), -betaL, z));
        for (int i = 1; i <= 10; ++i) lineTo(c, polarPixel(s, c, intL, L(4), -betaL + betaL * i / 10, z));
        for (int i = 1; i <= 10; ++i) lineTo(c, polarPixel(s, c, intR, R(4), betaR * i / 10, z));
        lineTo(c, B);
    }
}

void Draw3DView(const ViewContext& s, Canvas& c)
{
    Draw3DCantilevers(s, c);
    Draw3DArches(s, c);
}

bool GeometrieButton3dClick(const ViewContext& s, Canvas& c)
{
    s.view.ViewKind = kView3D;
    s.main.MainImageHint = kHint3D;
    return drawGuarded(s, [&] {
        ClearImage(s, c);
        Fit3DView(s, c);
        initialOrientation(s);
        setPen(c, kBlack, 1, PenStyle::Dash);
        Draw3DView(s, c);
        const std::string title = "3D view of the archs and cantilevers";
        c.textOut(centredX(s, title), 20, title);
        if (s.view.ValuesMode == 1) {
            const std::string t = s.model.UnitSystem == kImperial
                                      ? "thickness at the top and base of the cantilevers (ft)"
                                      : "thickness at the top and base of the cantilevers (m)";
            c.textOut(centredX(s, t), 40, t);
        }
        const std::string help =
            "Move:middle click   Rotation:Ctrl+left click   Zoom:Shift+left click   Zoom "
            "window:right click toward right bottom   initial view:right click toward top";
        c.textOut(centredX(s, help), c.height() - 20, help);
    });
}

void MainImageMouseDown(const ViewContext& s, Canvas&, MouseButton, ShiftState, int x, int y)
{
    const int v = s.view.ViewKind;
    if (v == kView3D || v == kViewDeflection || v == kViewStresses) {
        s.draw.DragStartX = s.draw.DragLastX = x;
        s.draw.DragStartY = s.draw.DragLastY = y;
    }
}

void MainImageMouseMove(const ViewContext& s, Canvas& c, ShiftState shift, int x, int y, const CursorHook& setCursor)
{
    DrawState& d = s.draw;
    const int v = s.view.ViewKind;
    if ((v == kViewDeflection || v == kViewStresses || v == kView3D) && exactly(shift, ssRight)) {
        c.setBrushStyle(BrushStyle::Solid);
        c.setBrushColor(kWhite);
        c.drawFocusRect(d.DragStartX, d.DragStartY, d.DragLastX, d.DragLastY);
        c.drawFocusRect(d.DragStartX, d.DragStartY, x, y);
        d.DragLastX = x;
        d.DragLastY = y;
    }
    if (v != kView3D) return;
    // A failure here was reported when the view was shown; a drag redraws
    // what can be drawn without a message at every move.
    auto redraw = [&] {
        try {
            Draw3DView(s, c);
        } catch (const std::exception&) {
        }
    };
    if (exactly(shift, ssMiddle)) {
        if (setCursor) setCursor(CursorShape::Move);
        ClearImage(s, c);
        d.PanX += x - d.DragLastX;
        d.PanY += y - d.DragLastY;
        redraw();
    } else if (exactly(shift, ssCtrl | ssLeft)) {
        ClearImage(s, c);
        d.RotationZ += x - d.DragLastX;
        d.RotationX -= y - d.DragLastY;
        redraw();
    } else if (exactly(shift, ssShift | ssLeft)) {
        ClearImage(s, c);
        d.ViewScale = std::abs(d.ViewScale + 0.1 * (y - d.DragLastY));
        if (!(d.ViewScale > 1)) d.ViewScale = 1;
        redraw();
    } else {
        return;
    }
    d.DragLastX = x;
    d.DragLastY = y;
}

void MainImageMouseUp(const ViewContext& s, Canvas& c, MouseButton button, ShiftState, int, int,
                      const CursorHook& setCursor)
{
    DrawState& d = s.draw;
    const int v = s.view.ViewKind;
    const bool upOrLeft = d.DragLastY < d.DragStartY || d.DragLastX < d.DragStartX;
    const bool zoom = !upOrLeft && d.DragStartY != d.DragLastY;
    auto zoomRect = [&] {
        ZoomToRectangle(c, d.DragStartX, d.DragLastX, d.DragStartY, d.DragLastY, d.ViewOriginX, d.ViewOriginY,
                        d.ViewScale);
    };
    if (v == kViewDeflection && button == MouseButton::Right) {
        if (upOrLeft) {
            initialOrientation(s);
            DeformeeButtonClick(s, c);
        } else if (zoom) {
            drawGuarded(s, [&] {
                zoomRect();
                ClearImage(s, c);
                setPen(c, kBlack, 1, PenStyle::Dash);
                DrawDevelopedMesh(s, c);
                setPen(c, kRed, 2, PenStyle::Solid);
                DrawDeflections(s, c);
                c.setPenColor(kBlack);
            });
        }
    } else if (v == kViewStresses && button == MouseButton::Right) {
        if (upOrLeft) {
            initialOrientation(s);
            SiButtonClick(s, c);
        } else if (zoom) {
            drawGuarded(s, [&] {
                FitLowerHalf(s, c);
                zoomRect();
                ClearImage(s, c);
                setPen(c, kBlack, 1, PenStyle::Dash);
                DrawDevelopedMesh(s, c);
                c.setPenStyle(PenStyle::Solid);
                c.setPenWidth(2);
                DrawDownstreamStresses(s, c);
                c.setPenColor(kBlack);
                FitUpperHalf(s, c);
                zoomRect();
                setPen(c, kBlack, 1, PenStyle::Dash);
                DrawMeshFromUpstream(s, c);
                c.setPenStyle(PenStyle::Solid);
                c.setPenWidth(2);
                DrawUpstreamStresses(s, c);
                c.setPenColor(kBlack);
            });
        }
    } else if (v == kView3D) {
        if (button == MouseButton::Right) {
            drawGuarded(s, [&] {
                if (upOrLeft) {
                    Fit3DView(s, c);
                    initialOrientation(s);
                } else if (zoom) {
                    zoomRect();
                }
                ClearImage(s, c);
                Draw3DView(s, c);
            });
        } else {
            if (setCursor) setCursor(CursorShape::Arrow);
            drawGuarded(s, [&] {
                ClearImage(s, c);
                Draw3DView(s, c);
            });
        }
    }
}

} // namespace velta
