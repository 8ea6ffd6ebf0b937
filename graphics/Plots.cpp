// Result symbols drawn over the developed mesh: deflection segments, stress
// crosses, abutment force vectors, cantilever sections with their base
// force, and the split of the water load between cantilevers and arches.
#include <algorithm>
#include <numbers>
#include <cmath>

#include "graphics/Graphique.h"
#include "model/Numbers.h"

namespace velta {

namespace {

const double kCos35 = std::cos(35 * std::numbers::pi / 180);
const double kSin35 = std::sin(35 * std::numbers::pi / 180);

// A node of the developed view: its unrounded scaled coordinates and the
// screen position of the node and of a symbol end offset from it.
struct Node {
    const DrawState& d;
    double Xs, Zs;
    int x() const { return d.ViewOriginX + px(Xs); }
    int y() const { return d.ViewOriginY - px(Zs); }
    int x(double dx) const { return d.ViewOriginX + px(Xs + dx); }
    int y(double dz) const { return d.ViewOriginY - px(Zs + dz); }
};

Node node(const ViewContext& s, double R, int slot, double z, double sign = 1)
{
    const double scale = s.draw.ViewScale;
    return Node{s.draw, sign * (scale * R * s.model.ConsAngle[slot] * kDrawingPi / 180), scale * z};
}

double sideRadius(const ViewContext& s, int slot)
{
    return slot <= kCrownSlot ? s.model.RadiusR[0] : s.model.Radius[0];
}

int firstSlot(const ViewContext& s)
{
    return std::max(s.model.FirstCons, 0);
}
int lastSlot(const ViewContext& s)
{
    return std::min(s.model.LastCons, kConsSlots - 1);
}
int points(int count)
{
    return std::clamp(count, 0, kResultPoints);
}

void drawStresses(const ViewContext& s, Canvas& c, const TabResult& prin1, const TabResult& prin2,
                  const TabResult& angle, double sign)
{
    const ResultsModel& r = s.results;
    const int U = s.model.UnitSystem;
    const int mode = s.view.ValuesMode;
    for (int i = firstSlot(s); i <= lastSlot(s); ++i) {
        for (int j = 0; j < points(r.ResStressCount[i]); ++j) {
            const Node n = node(s, sideRadius(s, i), i, r.ResStressElev[0][i][j], sign);
            const double theta = angle[0][i][j] * std::numbers::pi / 180;
            const double s1 = prin1[0][i][j], s2 = prin2[0][i][j];
            const double L1 = std::abs(s1) * s.view.StressScale, L2 = std::abs(s2) * s.view.StressScale;
            const double sn = std::sin(theta), cs = std::cos(theta);
            if (mode == 0 || mode == 1) {
                if (mode == 1) c.textOut(n.x(), n.y(), formatFixed(prin1[U][i][j], U + 1));
                c.setPenColor(s1 > 0 ? kRed : kBlue);
                c.moveTo(n.x(-L1 * sn), n.y(-L1 * cs));
                c.lineTo(n.x(L1 * sn), n.y(L1 * cs));
            }
            if (mode == 0 || mode == 2) {
                if (mode == 2) c.textOut(n.x(), n.y(), formatFixed(prin2[U][i][j], U + 1));
                c.setPenColor(s2 > 0 ? kRed : kBlue);
                c.moveTo(n.x(-L2 * cs), n.y(L2 * sn));
                c.lineTo(n.x(L2 * cs), n.y(-L2 * sn));
            }
        }
    }
}

} // namespace

void DrawDeflections(const ViewContext& s, Canvas& c)
{
    const ResultsModel& r = s.results;
    const int U = s.model.UnitSystem;
    for (int i = firstSlot(s); i <= lastSlot(s); ++i) {
        for (int j = 0; j < points(r.ResDeflCount[i]); ++j) {
            const Node n = node(s, sideRadius(s, i), i, r.ResDeflElev[0][i][j]);
            const double d = r.ResDeflection[0][i][j];
            c.moveTo(n.x(), n.y());
            c.lineTo(n.x(kCos35 * s.view.DeflScale * d), n.y(kSin35 * s.view.DeflScale * d));
            if (s.view.ValuesMode == 1) {
                const std::string label = U == kImperial ? formatFixed(r.ResDeflection[0][i][j] * 12, 4)
                                                         : formatFixed(r.ResDeflection[1][i][j] * 1000, 1);
                c.textOut(n.x(), n.y(), label);
            }
        }
    }
}

void DrawDownstreamStresses(const ViewContext& s, Canvas& c)
{
    drawStresses(s, c, s.results.ResPrin1Down, s.results.ResPrin2Down, s.results.ResAngleDown, 1);
}

void DrawUpstreamStresses(const ViewContext& s, Canvas& c)
{
    drawStresses(s, c, s.results.ResPrin1Up, s.results.ResPrin2Up, s.results.ResAngleUp, -1);
}

void DrawAbutmentForces(const ViewContext& s, Canvas& c)
{
    const ResultsModel& r = s.results;
    const int U = s.model.UnitSystem;
    for (int i = firstSlot(s); i <= lastSlot(s); ++i) {
        // The foot is the last principal-stress point; a cantilever without
        // one has no foot and is skipped.
        const int n = points(r.ResStressCount[i]);
        if (n == 0) continue;
        const double R = i < kCrownSlot ? s.model.RadiusR[0] : s.model.Radius[0];
        const Node foot = node(s, R, i, r.ResStressElev[0][i][n - 1]);
        const double F = r.ResAbutForce[0][i][0];
        const double theta = r.ResAbutForce[0][i][1] * std::numbers::pi / 180;
        const double side = i <= kCrownSlot ? 1 : -1;
        const double FS = s.view.ForceScale;
        c.moveTo(foot.x(), foot.y());
        c.lineTo(foot.x(side * std::cos(theta) * FS * F), foot.y(-std::sin(theta) * FS * F));
        if (s.view.ValuesMode == 1) c.textOut(foot.x(), foot.y(), formatFixed(r.ResAbutForce[U][i][0], 1));
        if (s.view.ValuesMode == 2) c.textOut(foot.x(), foot.y(), formatFixed(r.ResAbutForce[U][i][1], 1));
    }
}

void DrawSectionForce(const ViewContext& s, Canvas& c, int slot, int x, int y)
{
    const ResultsModel& r = s.results;
    const int U = s.model.UnitSystem;
    setPen(c, kRed, 2, PenStyle::Solid);
    c.moveTo(x, y);
    const double F2 = r.ResAbutForce[0][slot][2];
    const double theta2 = r.ResAbutForce[0][slot][3] * std::numbers::pi / 180;
    c.lineTo(x + px(std::cos(theta2) * s.view.ForceScale * F2),
             y + px(std::sin(theta2) * s.view.ForceScale * F2));
    if (s.view.ValuesMode == 1) c.textOut(x, y, formatFixed(r.ResAbutForce[U][slot][2], 1));
    if (s.view.ValuesMode == 2) c.textOut(x, y, formatFixed(r.ResAbutForce[U][slot][3], 1));
    c.setPenColor(kBlack);
}

void DrawCantileverSections(const ViewContext& s, Canvas& c)
{
    const ResultsModel& r = s.results;
    const int first = firstSlot(s), last = lastSlot(s);
    if (last - first < 2) return; // no inner cantilever
    const double scale = s.draw.ViewScale;
    auto rows = [&](int b) { return std::clamp(r.ResConsGeomCount[b], 0, kGeomRows); };
    auto z = [&](int b, int j) { return r.ResConsGeom[0][b][j]; };
    auto u = [&](int b, int j) { return r.ResConsGeom[1][b][j]; };
    auto t = [&](int b, int j) { return r.ResConsGeom[2][b][j]; };

    // Extents of each section across the stream; a section without rows
    // has none.
    std::array<double, kConsSlots> lo{}, hi{};
    double sum = 0;
    for (int b = first + 1; b <= last - 1; ++b) {
        for (int j = 0; j < rows(b); ++j) {
            lo[b] = j == 0 ? -u(b, j) : std::min(lo[b], -u(b, j));
            hi[b] = j == 0 ? t(b, j) - u(b, j) : std::max(hi[b], t(b, j) - u(b, j));
        }
        sum += hi[b] - lo[b];
    }
    const int gap = px((c.width() - scale * sum) / (last - first));
    int d = gap;
    for (int b = first + 1; b <= last - 1; ++b) {
        const int n = rows(b);
        if (n == 0) {
            d += gap;
            continue;
        }
        auto y = [&](int j) { return s.draw.ViewOriginY - px(scale * z(b, j)); };
        auto xu = [&](int j) { return d + px(scale * (-lo[b] - u(b, j))); };
        auto xd = [&](int j) { return d + px(scale * (-lo[b] - u(b, j) + t(b, j))); };
        c.setPenStyle(PenStyle::Solid);
        c.setPenWidth(1);
        c.moveTo(xu(0), y(0));
        c.lineTo(xd(0), y(0));
        for (int j = 1; j < n; ++j) c.lineTo(xd(j), y(j));
        c.lineTo(xu(n - 1), y(n - 1));
        for (int j = n - 2; j >= 0; --j) c.lineTo(xu(j), y(j));
        const int xBase = px((xu(0) + xd(0)) / 2.0), yBase = y(0);
        d += px(scale * (hi[b] - lo[b])) + gap;
        DrawSectionForce(s, c, b, xBase, yBase);
    }
}

void DrawLoadSplit(const ViewContext& s, Canvas& c)
{
    const ResultsModel& r = s.results;
    const CaseModel& m = s.model;
    const int U = m.UnitSystem;
    const double LS = s.view.LoadScale;

    // Cantilever diagrams, blue, 2 pixels left of the nodes.
    for (int i = firstSlot(s); i <= lastSlot(s); ++i) {
        for (int j = 0; j < points(r.ResDeflCount[i]); ++j) {
            const Node n = node(s, sideRadius(s, i), i, r.ResDeflElev[0][i][j]);
            const double pSI = 9810 * std::max(0.0, m.Rwe[1] - r.ResDeflElev[1][i][j]);
            const double pImp = pSI / 47880.26;
            const double load = -pImp - r.ResConsLoad[0][i][j];
            const int xt = n.x(kCos35 * load * LS), yt = n.y(kSin35 * load * LS);
            c.setPenColor(kBlue);
            if (j == 0)
                c.moveTo(xt - 2, yt);
            else
                c.lineTo(xt - 2, yt);
            c.lineTo(n.x() - 2, n.y());
            c.moveTo(xt - 2, yt);
            const double p = U == kImperial ? pImp : pSI;
            if (s.view.ValuesMode == 1 && p != 0) {
                c.textOut(n.x(), n.y(), formatFixed((p + r.ResConsLoad[U][i][j]) / p * 100, 0) + "%");
                c.moveTo(xt - 2, yt);
            }
            c.setPenColor(kBlack);
        }
    }

    // Arch diagrams, red, 2 pixels right of the nodes, one per arch level
    // of the crown cantilever whose arch is drawn (procedure code "0"). A
    // level that matches no arch row is skipped.
    const int first = firstSlot(s), last = lastSlot(s);
    const int arcs = std::clamp(m.NbArcs, 0, kTabRows);
    for (int k = 0; k < points(r.ResDeflCount[kCrownSlot]); ++k) {
        const double zk = r.ResDeflElev[0][kCrownSlot][k];
        int row = -1;
        for (int a = 0; a < arcs && row < 0; ++a) {
            const double e = parseNumber(m.ArcTab(0, kArcElevation, a));
            if ((zk - e) * (zk - e) <= 0.001) row = a;
        }
        if (row < 0 || m.ArcTab(0, kArcCode, row) != "0") continue;
        int start = first + 1;
        for (int i = first + 1; i <= last - 1; ++i) {
            if (r.ResDeflElev[0][i][k] == kNoElevation) {
                ++start;
                continue;
            }
            const Node n = node(s, sideRadius(s, i), i, r.ResDeflElev[0][i][k]);
            const double w = r.ResConsLoad[0][i][k];
            const int xt = n.x(kCos35 * LS * w), yt = n.y(kSin35 * LS * w);
            c.setPenColor(kRed);
            if (i == start)
                c.moveTo(xt + 2, yt);
            else
                c.lineTo(xt + 2, yt);
            c.lineTo(n.x() + 2, n.y());
            c.moveTo(xt + 2, yt);
            c.setPenColor(kBlack);
        }
    }
}

} // namespace velta
