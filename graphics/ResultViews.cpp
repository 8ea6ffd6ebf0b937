#include "graphics/ResultViews.h"

#include <string>

#include "graphics/Contours.h"
#include "graphics/Graphique.h"
#include "graphics/ViewTable.h"
#include "model/Numbers.h"

namespace velta {

namespace {

// Smallest and largest value of a result array over the used slots and
// their stored points. Both start from the first stored point: point 0 of
// the first slot when it has one (an end cantilever without points must
// not bring its reset value 0 into the extremes).
struct Extremes {
    double min = 0, max = 0;
};

Extremes extremes(const ViewContext& s, const TabResult& res, const std::array<int, kConsSlots>& count)
{
    const int U = s.model.UnitSystem;
    const int first = std::max(s.model.FirstCons, 0), last = std::min(s.model.LastCons, kConsSlots - 1);
    Extremes e;
    bool any = false;
    for (int c = first; c <= last; ++c) {
        for (int k = 0; k < std::min(count[c], kResultPoints); ++k) {
            const double v = res[U][c][k];
            if (!any) e.min = e.max = v;
            any = true;
            if (v < e.min) e.min = v;
            if (v > e.max) e.max = v;
        }
    }
    return e;
}

int y20(const Canvas& c)
{
    return px(c.height() / 20.0);
}
int y19(const Canvas& c)
{
    return px(19 * c.height() / 20.0);
}
int yHalf(const Canvas& c)
{
    return px(c.height() / 2.0);
}

void centredText(const ViewContext& s, Canvas& c, int y, const std::string& text)
{
    c.textOut(centredX(s, text), y, text);
}

std::string stressLine(const ViewContext& s, const TabResult& prin1, const TabResult& prin2)
{
    const int U = s.model.UnitSystem;
    const std::string u = U == kImperial ? "psi" : "MPa";
    const Extremes p1 = extremes(s, prin1, s.results.ResStressCount);
    const Extremes p2 = extremes(s, prin2, s.results.ResStressCount);
    auto f = [&](double v) { return formatFixed(v, U + 1); };
    const std::string first = f(p1.min) + " " + u + " < PRIN 1 < " + f(p1.max) + " " + u;
    const std::string second = f(p2.min) + " " + u + " < PRIN 2 < " + f(p2.max) + " " + u;
    switch (s.view.ValuesMode) {
    case 1:
        return first;
    case 2:
        return second;
    default:
        return first + "     " + second;
    }
}

} // namespace

bool DeformeeButtonClick(const ViewContext& s, Canvas& c)
{
    s.view.ViewKind = kViewDeflection;
    return drawGuarded(s, [&] {
        ClearImage(s, c);
        FitDevelopedView(s, c);
        setPen(c, kBlack, 1, PenStyle::Dash);
        DrawDevelopedMesh(s, c);
        if (s.view.DeflScale == 0) s.view.DeflScale = 500;
        setPen(c, kRed, 2, PenStyle::Solid);
        DrawDeflections(s, c);
        c.setPenColor(kBlack);
        centredText(s, c, y20(c),
                    "Developped downstream view of radial deflection (x" + std::to_string(s.view.DeflScale) +
                        ")");
        const bool imperial = s.model.UnitSystem == kImperial;
        const double factor = imperial ? 12 : 1000;
        const std::string unit = imperial ? "inches" : "mm";
        const Extremes e = extremes(s, s.results.ResDeflection, s.results.ResDeflCount);
        centredText(s, c, y20(c) + 20,
                    "min: " + formatFixed(e.min * factor, 4) + " " + unit +
                        ", max: " + formatFixed(e.max * factor, 4) + " " + unit);
        centredText(s, c, y19(c), "values <0 are deflection toward downstream");
    });
}

bool SiButtonClick(const ViewContext& s, Canvas& c)
{
    s.view.ViewKind = kViewStresses;
    if (s.view.StressScale == 0) s.view.StressScale = 0.1;
    return drawGuarded(s, [&] {
        const ResultsModel& r = s.results;
        ClearImage(s, c);
        FitLowerHalf(s, c);
        setPen(c, kBlack, 1, PenStyle::Dash);
        DrawDevelopedMesh(s, c);
        c.setPenStyle(PenStyle::Solid);
        c.setPenWidth(2);
        DrawDownstreamStresses(s, c);
        c.setPenColor(kBlack);
        centredText(s, c, yHalf(c), "Developped downstream view of principal stresses");
        centredText(s, c, yHalf(c) + 20, stressLine(s, r.ResPrin1Down, r.ResPrin2Down));

        FitUpperHalf(s, c);
        setPen(c, kBlack, 1, PenStyle::Dash);
        DrawMeshFromUpstream(s, c);
        c.setPenStyle(PenStyle::Solid);
        c.setPenWidth(2);
        DrawUpstreamStresses(s, c);
        c.setPenColor(kBlack);
        centredText(s, c, 10, "Developped upstream view of principal stresses");
        centredText(s, c, 30, stressLine(s, r.ResPrin1Up, r.ResPrin2Up));
        centredText(s, c, y19(c), "Compression (value <0) are in blue and tension (value >0) are in red");
    });
}

bool FappuiButtonClick(const ViewContext& s, Canvas& c)
{
    s.view.ViewKind = kViewForces;
    return drawGuarded(s, [&] {
        ClearImage(s, c);
        FitUpperHalf(s, c);
        setPen(c, kBlack, 1, PenStyle::Dash);
        DrawDevelopedMesh(s, c);
        if (s.view.ForceScale == 0) s.view.ForceScale = 0.00001;
        setPen(c, kRed, 2, PenStyle::Solid);
        DrawAbutmentForces(s, c);
        c.setPenColor(kBlack);
        centredText(
            s, c, y20(c),
            "Developped downstream view of the resultant of forces in the vertical plane in the tangent "
            "direction");
        std::string second;
        if (s.view.ValuesMode == 1)
            second = " Resultant forces in the vertical plan in the tangent direction (" +
                     std::string(s.model.UnitSystem == kImperial ? "pounds" : "N") + ")";
        else if (s.view.ValuesMode == 2)
            second = " Angle measured from tangential toward downward (°)";
        centredText(s, c, y20(c) + 20, second);
        FitLowerHalf(s, c);
        setPen(c, kBlack, 1, PenStyle::Dash);
        DrawCantileverSections(s, c);
    });
}

bool LoadButtonClick(const ViewContext& s, Canvas& c)
{
    s.view.ViewKind = kViewLoads;
    return drawGuarded(s, [&] {
        ClearImage(s, c);
        FitDevelopedView(s, c);
        setPen(c, kBlack, 1, PenStyle::Dash);
        DrawDevelopedMesh(s, c);
        if (s.view.LoadScale == 0) s.view.LoadScale = 5;
        c.setPenStyle(PenStyle::Solid);
        c.setPenWidth(2);
        DrawLoadSplit(s, c);
        c.setPenColor(kBlack);
        centredText(s, c, y20(c), "Archs and cantilevers loads");
        if (s.view.ValuesMode == 1)
            centredText(s, c, y20(c) + 20, "percentages of the hydrostatic load taken by the cantilevers");
        centredText(s, c, y19(c), "Cantilever loads are in blue and arch loads are in red");
    });
}

bool redrawCurrentView(const ViewContext& s, Canvas& c)
{
    return drawViewOfKind(s, c, s.view.ViewKind);
}

void ValeurButtonClick(const ViewContext& s, Canvas& c)
{
    int& mode = s.view.ValuesMode;
    switch (s.view.ViewKind) {
    case kViewDeflection:
        mode = mode == 1 ? 0 : 1;
        break;
    case kViewStresses:
    case kViewForces:
        mode = (mode + 1) % 3;
        break;
    case kView3D:
    case kViewLoads:
        mode = mode == 1 ? 0 : 1;
        break;
    default:
        return;
    }
    redrawCurrentView(s, c);
}

void PlusButtonClick(const ViewContext& s, Canvas& c)
{
    switch (s.view.ViewKind) {
    case kViewDeflection:
        s.view.DeflScale = px(s.view.DeflScale * 1.1);
        break;
    case kViewStresses:
        s.view.StressScale *= 1.1;
        break;
    case kViewForces:
        s.view.ForceScale *= 1.1;
        break;
    case kViewLoads:
        s.view.LoadScale *= 1.1;
        break;
    default:
        return;
    }
    redrawCurrentView(s, c);
}

void MoinsButtonClick(const ViewContext& s, Canvas& c)
{
    switch (s.view.ViewKind) {
    case kViewDeflection:
        s.view.DeflScale = px(s.view.DeflScale / 1.1);
        break;
    case kViewStresses:
        s.view.StressScale /= 1.1;
        break;
    case kViewForces:
        s.view.ForceScale /= 1.1;
        break;
    case kViewLoads:
        s.view.LoadScale /= 1.1;
        break;
    default:
        return;
    }
    redrawCurrentView(s, c);
}

} // namespace velta
