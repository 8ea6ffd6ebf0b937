// World-to-screen mapping: the fits of the developed and 3D views and the
// rectangle zoom.
#include <cmath>
#include <numbers>
#include <limits>

#include "graphics/Graphique.h"
#include "model/Numbers.h"

namespace velta {

namespace {


double damHeight(const ViewContext& s)
{
    const double h = s.model.TopElev[0] - s.model.BaseElev[0];
    if (!(h > 0) || !std::isfinite(h)) throw DrawingError("the dam height is zero");
    return h;
}

// Abutment angle (degrees) of the crest arch, column 2 (left) or 3 (right).
double crestPhi(const ViewContext& s, int column)
{
    if (s.model.NbArcs < 1 || s.model.NbArcs > kTabRows)
        throw DrawingError("the dam has no arch at the crest");
    return parseNumber(s.model.ArcTab(0, column, s.model.NbArcs - 1));
}

// The smaller of the crest-length and height scales for an area of the
// image's width and `height` pixels.
double fitScale(const ViewContext& s, const Canvas& c, double height)
{
    const double L = crestLength(s);
    if (!(L > 0) || !std::isfinite(L)) throw DrawingError("the developed crest length is zero");
    const double sx = c.width() / L * 3 / 4;
    const double sy = height / damHeight(s) * 3 / 4;
    return sx < sy ? sx : sy;
}

double midElevation(const ViewContext& s)
{
    return (s.model.TopElev[0] + s.model.BaseElev[0]) / 2;
}

} // namespace

int px(double v)
{
    // Far beyond any image: kept inside the int range so that segment
    // arithmetic cannot overflow.
    constexpr double kLimit = 1e9;
    if (!(v < kLimit)) return v != v ? 0 : static_cast<int>(kLimit);
    if (!(v > -kLimit)) return -static_cast<int>(kLimit);
    return static_cast<int>(roundEven(v));
}

bool drawGuarded(const ViewContext& s, const std::function<void()>& draw)
{
    try {
        draw();
        return true;
    } catch (const std::exception& e) {
        s.messages.error(std::string("Drawing stopped: ") + e.what());
        return false;
    }
}

int centredX(const ViewContext& s, const std::string& text)
{
    return s.draw.ViewOriginX - 2 * textLength(text);
}

void setPen(Canvas& c, Color color, int width, PenStyle style)
{
    c.setPenColor(color);
    c.setPenWidth(width);
    c.setPenStyle(style);
}

double developedX(const ViewContext& s, int slot)
{
    const double R = slot <= kCrownSlot ? s.model.RadiusR[0] : s.model.Radius[0];
    return R * s.model.ConsAngle[slot] * kDrawingPi / 180;
}

double crestLength(const ViewContext& s)
{
    const double phiL = crestPhi(s, kArcPhiL), phiR = crestPhi(s, kArcPhiR);
    return (phiL * s.model.Radius[0] + phiR * s.model.RadiusR[0]) * kDrawingPi / 180;
}

void ClearImage(const ViewContext&, Canvas& c)
{
    c.setBrushColor(kWhite);
    c.setBrushStyle(BrushStyle::Solid);
    c.rectangle(0, 0, c.width(), c.height());
}

void FitDevelopedView(const ViewContext& s, const Canvas& c)
{
    const double scale = fitScale(s, c, c.height());
    s.draw.ViewScale = scale;
    s.draw.ViewOriginX = px(c.width() / 2.0);
    s.draw.ViewOriginY = px(midElevation(s) * scale + c.height() / 2.0);
}

void FitLowerHalf(const ViewContext& s, const Canvas& c)
{
    const double scale = fitScale(s, c, c.height() / 2.0);
    s.draw.ViewScale = scale;
    s.draw.ViewOriginX = px(c.width() / 2.0);
    s.draw.ViewOriginY = px(midElevation(s) * scale + 3 * c.height() / 4.0);
}

void FitUpperHalf(const ViewContext& s, const Canvas& c)
{
    const double scale = fitScale(s, c, c.height() / 2.0);
    s.draw.ViewScale = scale;
    s.draw.ViewOriginX = px(c.width() / 2.0);
    s.draw.ViewOriginY = px(midElevation(s) * scale + c.height() / 4.0);
}

void Fit3DView(const ViewContext& s, const Canvas& c)
{
    const double scale = fitScale(s, c, c.height());
    const double a = s.model.Radius[0] * std::cos(crestPhi(s, kArcPhiL) * std::numbers::pi / 180);
    const double b = s.model.RadiusR[0] * std::cos(crestPhi(s, kArcPhiR) * std::numbers::pi / 180);
    const double m = a > b ? a : b;
    s.draw.ViewScale = scale;
    s.draw.ViewOriginX = px(c.width() / 2.0);
    s.draw.ViewOriginY = px(c.height() / 2.0 - m / 2 * scale);
    s.draw.ViewMidElevation = px(midElevation(s));
}

void ZoomToRectangle(const Canvas& c, int x1, int x2, int y1, int y2, int& originX, int& originY,
                     double& scale)
{
    if (y2 <= y1 || x2 < x1 || !(scale != 0)) return;
    const double W = c.width(), H = c.height();
    const double u = ((x1 + x2) / 2.0 - originX) / scale;
    const double v = (originY - (y1 + y2) / 2.0) / scale;
    double s2;
    if (W / H >= static_cast<double>(x2 - x1) / (y2 - y1))
        s2 = H * scale / (y2 - y1);
    else
        s2 = W * scale / (x2 - x1);
    scale = s2;
    originX = px(W / 2 - u * s2);
    originY = px(v * s2 + H / 2);
}

} // namespace velta
