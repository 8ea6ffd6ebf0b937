#include "graphics/Contours.h"

#include <algorithm>
#include <cmath>

#include "graphics/Graphique.h"
#include "model/Numbers.h"

namespace velta {

namespace {

constexpr Color kIsoLine = 0x303030;
constexpr int kBarWidth = 22;
constexpr int kBarSpace = 130; // the bar and its labels, right of the plot
// Room above the title of a view: the window shows its line about results of
// older data there, as over the other result views, without hiding the title.
constexpr int kTopSpace = 24;

struct ValuePoint {
    double x, z, v;
};

// One pass of polygon clipping in value space: keeps the part where
// keep(v) holds, cutting edges where the value equals `level`.
template <class Keep>
std::vector<ValuePoint> clipByValue(const std::vector<ValuePoint>& in, double level, Keep keep)
{
    std::vector<ValuePoint> out;
    const size_t n = in.size();
    for (size_t i = 0; i < n; ++i) {
        const ValuePoint& p = in[i];
        const ValuePoint& q = in[(i + 1) % n];
        const bool pin = keep(p.v), qin = keep(q.v);
        if (pin) out.push_back(p);
        if (pin != qin) {
            const double t = (level - p.v) / (q.v - p.v);
            out.push_back({p.x + t * (q.x - p.x), p.z + t * (q.z - p.z), level});
        }
    }
    return out;
}

const TabResult& valuesOf(const ResultsModel& r, ContourQuantity q)
{
    switch (q) {
    case ContourQuantity::Prin1Up:
        return r.ResPrin1Up;
    case ContourQuantity::Prin2Up:
        return r.ResPrin2Up;
    case ContourQuantity::Prin1Down:
        return r.ResPrin1Down;
    case ContourQuantity::Prin2Down:
        return r.ResPrin2Down;
    default:
        return r.ResDeflection;
    }
}

bool fromUpstream(ContourQuantity q)
{
    return q == ContourQuantity::Prin1Up || q == ContourQuantity::Prin2Up;
}

std::string fixed(double v, int decimals)
{
    // No "-0.0" on the scale.
    std::string t = formatFixed(v, decimals);
    if (t.find_first_not_of("-0.") == std::string::npos && t[0] == '-') t.erase(0, 1);
    return t;
}

} // namespace

int ContourField::minNode() const
{
    int best = -1;
    for (size_t i = 0; i < nodes.size(); ++i)
        if (best < 0 || nodes[i].v < nodes[best].v) best = static_cast<int>(i);
    return best;
}

int ContourField::maxNode() const
{
    int best = -1;
    for (size_t i = 0; i < nodes.size(); ++i)
        if (best < 0 || nodes[i].v > nodes[best].v) best = static_cast<int>(i);
    return best;
}

ContourField triangulateColumns(const std::vector<std::vector<FieldNode>>& columns)
{
    ContourField f;
    std::vector<int> start;
    for (const auto& col : columns) {
        start.push_back(static_cast<int>(f.nodes.size()));
        f.nodes.insert(f.nodes.end(), col.begin(), col.end());
    }
    for (size_t k = 0; k + 1 < columns.size(); ++k) {
        const auto& A = columns[k];
        const auto& B = columns[k + 1];
        if (A.empty() || B.empty()) continue;
        const int a0 = start[k], b0 = start[k + 1];
        const int na = static_cast<int>(A.size()), nb = static_cast<int>(B.size());
        int i = 0, j = 0;
        while (i < na - 1 || j < nb - 1) {
            bool advanceA;
            if (i == na - 1) advanceA = false;
            else if (j == nb - 1) advanceA = true;
            else advanceA = A[i + 1].z >= B[j + 1].z;
            if (advanceA) {
                f.triangles.push_back({a0 + i, a0 + i + 1, b0 + j});
                ++i;
            } else {
                f.triangles.push_back({a0 + i, b0 + j + 1, b0 + j});
                ++j;
            }
        }
    }
    return f;
}

ContourField resultField(const ViewContext& s, ContourQuantity q)
{
    const CaseModel& m = s.model;
    const ResultsModel& r = s.results;
    const int U = m.UnitSystem == kSI ? kSI : kImperial;
    const bool defl = q == ContourQuantity::Deflection;
    const TabResult& elev = defl ? r.ResDeflElev : r.ResStressElev;
    const auto& count = defl ? r.ResDeflCount : r.ResStressCount;
    const TabResult& val = valuesOf(r, q);
    const double factor = defl ? (U == kSI ? 1000.0 : 12.0) : 1.0;
    const double sign = fromUpstream(q) ? -1 : 1;
    const int first = std::max(m.FirstCons, 0), last = std::min(m.LastCons, kConsSlots - 1);
    std::vector<std::vector<FieldNode>> columns;
    // Columns in increasing screen abscissa, so that neighbours are joined.
    for (int i = first; i <= last; ++i) {
        std::vector<FieldNode> col;
        const double x = sign * developedX(s, i);
        for (int k = 0; k < std::clamp(count[i], 0, kResultPoints); ++k)
            col.push_back({x, elev[kImperial][i][k], val[U][i][k] * factor, i});
        std::stable_sort(col.begin(), col.end(), [](const FieldNode& a, const FieldNode& b) { return a.z > b.z; });
        columns.push_back(std::move(col));
    }
    if (sign < 0) std::reverse(columns.begin(), columns.end());
    return triangulateColumns(columns);
}

std::string contourUnit(const ViewContext& s, ContourQuantity q)
{
    const bool si = s.model.UnitSystem == kSI;
    if (q == ContourQuantity::Deflection) return si ? "mm" : "inches";
    return si ? "MPa" : "psi";
}

int contourDecimals(const ViewContext& s, ContourQuantity q)
{
    const bool si = s.model.UnitSystem == kSI;
    if (q == ContourQuantity::Deflection) return si ? 2 : 4;
    return si ? 2 : 1;
}

std::vector<double> contourLevels(double lo, double hi, int bands)
{
    std::vector<double> levels;
    if (!(hi > lo) || !std::isfinite(lo) || !std::isfinite(hi) || bands < 1) return levels;
    const double raw = (hi - lo) / bands;
    const double mag = std::pow(10.0, std::floor(std::log10(raw)));
    const double norm = raw / mag;
    const double step = (norm <= 1 ? 1 : norm <= 2 ? 2 : norm <= 5 ? 5 : 10) * mag;
    const double eps = 1e-9 * (hi - lo);
    for (double k = std::ceil(lo / step); k * step < hi - eps; k += 1) {
        const double v = k * step;
        if (v > lo + eps) levels.push_back(std::abs(v) < eps ? 0.0 : v);
    }
    return levels;
}

std::vector<WorldPoint> bandPolygon(const FieldNode& a, const FieldNode& b, const FieldNode& c, double lo,
                                    double hi)
{
    std::vector<ValuePoint> poly = {{a.x, a.z, a.v}, {b.x, b.z, b.v}, {c.x, c.z, c.v}};
    poly = clipByValue(poly, lo, [lo](double v) { return v >= lo; });
    if (poly.size() >= 3) poly = clipByValue(poly, hi, [hi](double v) { return v <= hi; });
    std::vector<WorldPoint> out;
    if (poly.size() < 3) return out;
    for (const ValuePoint& p : poly) out.push_back({p.x, p.z});
    return out;
}

bool isoSegment(const FieldNode& a, const FieldNode& b, const FieldNode& c, double level, WorldPoint& p,
                WorldPoint& q)
{
    const FieldNode* v[3] = {&a, &b, &c};
    WorldPoint found[2];
    int n = 0;
    for (int e = 0; e < 3; ++e) {
        const FieldNode& s = *v[e];
        const FieldNode& t = *v[(e + 1) % 3];
        // Half-open test: a vertex on the level counts on the upper side, so
        // the level crosses exactly two edges or none.
        if ((s.v < level) != (t.v < level)) {
            const double f = (level - s.v) / (t.v - s.v);
            if (n < 2) found[n] = {s.x + f * (t.x - s.x), s.z + f * (t.z - s.z)};
            ++n;
        }
    }
    if (n != 2) return false;
    p = found[0];
    q = found[1];
    return true;
}

ContourScale contourScale(const ContourField& f, ColourScale::Kind kind)
{
    ContourScale sc;
    const int lo = f.minNode(), hi = f.maxNode();
    if (lo >= 0) {
        sc.min = f.nodes[lo].v;
        sc.max = f.nodes[hi].v;
    }
    sc.levels = contourLevels(sc.min, sc.max);
    sc.colours.kind = kind;
    sc.colours.lo = sc.min;
    sc.colours.hi = sc.max;
    return sc;
}

void DrawContourPanel(const ViewContext& s, Canvas& c, ContourQuantity q, const PanelBox& box, const std::string& title)
{
    const CaseModel& m = s.model;
    DrawState& d = s.draw;
    const bool up = fromUpstream(q);
    const ContourField f = resultField(s, q);
    const ContourScale sc = contourScale(
        f, q == ContourQuantity::Deflection ? ColourScale::Kind::Sequential : ColourScale::Kind::Diverging);
    const std::string unit = contourUnit(s, q);
    const int dec = contourDecimals(s, q);

    setPen(c, kBlack, 1, PenStyle::Solid);
    c.setBrushColor(kWhite);
    c.setBrushStyle(BrushStyle::Solid);
    c.textOut(box.x + std::max(0, (box.w - kBarSpace - c.textWidth(title)) / 2), box.y + 4, title);

    // The plot: the developed elevation fitted into the box left of the bar.
    const int top = box.y + 44, bottom = box.y + box.h - 14;
    const int left = box.x + 14, right = box.x + box.w - kBarSpace - 10;
    const int first = std::max(m.FirstCons, 0), last = std::min(m.LastCons, kConsSlots - 1);
    double x0 = 0, x1 = 0;
    for (int i = first; i <= last; ++i) {
        const double x = (up ? -1 : 1) * developedX(s, i);
        x0 = i == first ? x : std::min(x0, x);
        x1 = i == first ? x : std::max(x1, x);
    }
    const double L = x1 - x0, H = m.TopElev[0] - m.BaseElev[0];
    if (!(L > 0) || !(H > 0) || right <= left || bottom <= top)
        throw DrawingError("the dam has no extent to draw contours on");
    d.ViewScale = std::min((right - left) / L, (bottom - top) / H);
    d.ViewOriginX = px((left + right) / 2.0 - d.ViewScale * (x0 + x1) / 2);
    d.ViewOriginY = px((top + bottom) / 2.0 + d.ViewScale * (m.TopElev[0] + m.BaseElev[0]) / 2);
    auto sx = [&](double x) { return d.ViewOriginX + px(d.ViewScale * x); };
    auto sy = [&](double z) { return d.ViewOriginY - px(d.ViewScale * z); };

    // Colours: every band of the scale cut out of every triangle.
    std::vector<double> edges;
    edges.push_back(sc.min);
    edges.insert(edges.end(), sc.levels.begin(), sc.levels.end());
    edges.push_back(sc.max);
    for (const auto& t : f.triangles) {
        const FieldNode &a = f.nodes[t[0]], &b = f.nodes[t[1]], &cc = f.nodes[t[2]];
        const double tmin = std::min({a.v, b.v, cc.v}), tmax = std::max({a.v, b.v, cc.v});
        for (size_t k = 0; k + 1 < edges.size(); ++k) {
            if (edges[k + 1] < tmin || edges[k] > tmax) continue;
            const auto poly = bandPolygon(a, b, cc, edges[k], edges[k + 1]);
            if (poly.size() < 3) continue;
            std::vector<int> xy;
            for (const WorldPoint& p : poly) {
                xy.push_back(sx(p.x));
                xy.push_back(sy(p.z));
            }
            c.setBrushColor(sc.colours.colour((edges[k] + edges[k + 1]) / 2));
            c.polygon(xy);
        }
    }
    c.setBrushColor(kWhite);

    // Contour lines.
    setPen(c, kIsoLine, 1, PenStyle::Solid);
    for (const auto& t : f.triangles)
        for (double level : sc.levels) {
            WorldPoint p, pq;
            if (!isoSegment(f.nodes[t[0]], f.nodes[t[1]], f.nodes[t[2]], level, p, pq)) continue;
            c.moveTo(sx(p.x), sy(p.z));
            c.lineTo(sx(pq.x), sy(pq.z));
        }

    // The grid of arches and cantilevers, then the foundation line.
    setPen(c, kBlack, 1, PenStyle::Dash);
    if (up) DrawMeshFromUpstream(s, c);
    else DrawDevelopedMesh(s, c);
    setPen(c, kBlack, 2, PenStyle::Solid);
    for (int i = first; i <= last; ++i) {
        const int x = sx((up ? -1 : 1) * developedX(s, i)), y = sy(m.ConsBaseElev[i]);
        if (i == first) c.moveTo(x, y);
        else c.lineTo(x, y);
    }

    // The extremes, marked at their points.
    auto mark = [&](int node, const std::string& what) {
        if (node < 0) return;
        const FieldNode& n = f.nodes[node];
        const int x = sx(n.x), y = sy(n.z);
        setPen(c, kBlack, 2, PenStyle::Solid);
        c.moveTo(x - 5, y - 5);
        c.lineTo(x + 5, y + 5);
        c.moveTo(x - 5, y + 5);
        c.lineTo(x + 5, y - 5);
        setPen(c, kBlack, 1, PenStyle::Solid);
        const std::string label = what + " " + fixed(n.v, dec) + " " + unit;
        // Left of the mark when the label would run into the scale bar.
        const int w = c.textWidth(label);
        c.textOut(x + 7 + w > right + 5 ? x - 7 - w : x + 7, y - 7, label);
    };
    if (f.triangles.empty() && f.nodes.empty()) {
        setPen(c, kBlack, 1, PenStyle::Solid);
        c.textOut(left, top, "No results to draw");
    } else {
        mark(f.minNode(), "min");
        mark(f.maxNode(), "max");
    }
    setPen(c, kBlack, 1, PenStyle::Solid);
    c.textOut(box.x + std::max(0, (box.w - kBarSpace) / 2 - 150), box.y + 22,
              "min " + fixed(sc.min, dec) + " " + unit + ", max " + fixed(sc.max, dec) + " " + unit);

    // The scale bar, its ends at the extremes of the data.
    const int bx = box.x + box.w - kBarSpace + 10;
    const int byTop = top + 10, byBottom = bottom - 10;
    if (byBottom <= byTop) return;
    auto by = [&](double v) {
        return sc.max > sc.min ? byBottom - px((v - sc.min) / (sc.max - sc.min) * (byBottom - byTop)) : byTop;
    };
    for (size_t k = 0; k + 1 < edges.size(); ++k) {
        c.setBrushColor(sc.colours.colour((edges[k] + edges[k + 1]) / 2));
        const int ya = by(edges[k]), yb = sc.max > sc.min ? by(edges[k + 1]) : byBottom;
        c.polygon({bx, ya, bx + kBarWidth, ya, bx + kBarWidth, yb, bx, yb});
    }
    c.setBrushColor(kWhite);
    setPen(c, kBlack, 1, PenStyle::Solid);
    c.moveTo(bx, byTop);
    c.lineTo(bx + kBarWidth, byTop);
    c.lineTo(bx + kBarWidth, byBottom);
    c.lineTo(bx, byBottom);
    c.lineTo(bx, byTop);
    c.textOut(bx, byTop - 30, unit);
    const int th = 12; // half a text line: labels are centred on their tick
    int lastY = -1000;
    // Levels are round numbers: as many decimals as their step needs.
    int levelDec = dec;
    if (sc.levels.size() >= 2) {
        const double step = sc.levels[1] - sc.levels[0];
        levelDec = std::clamp(static_cast<int>(std::ceil(-std::log10(step) - 1e-9)), 0, dec);
    }
    const int yMax = by(sc.max), yMin = sc.max > sc.min ? by(sc.min) : byBottom;
    for (double level : sc.levels) {
        const int y = by(level);
        c.moveTo(bx + kBarWidth, y);
        c.lineTo(bx + kBarWidth + 5, y);
        // Labels that would run into the extremes' or each other's are left out.
        if (std::abs(y - yMax) < 2 * th || std::abs(y - yMin) < 2 * th || std::abs(y - lastY) < 2 * th) continue;
        c.textOut(bx + kBarWidth + 8, y - th / 2 - 2, fixed(level, levelDec));
        lastY = y;
    }
    c.textOut(bx + kBarWidth + 8, yMax - th - 2, "max " + fixed(sc.max, dec));
    c.textOut(bx + kBarWidth + 8, yMin + 2, "min " + fixed(sc.min, dec));
}

namespace {

void twoPanels(const ViewContext& s, Canvas& c, bool up)
{
    const int W = c.width(), H = c.height();
    const std::string face = up ? "upstream face, seen from upstream" : "downstream face, seen from downstream";
    // Two panels of the same height, so that both faces are drawn at one scale.
    const int panels = H - kTopSpace - 20, first = panels / 2;
    DrawContourPanel(s, c, up ? ContourQuantity::Prin1Up : ContourQuantity::Prin1Down, {0, kTopSpace, W, first},
                     "First principal stress (largest compression) on the " + face);
    DrawContourPanel(s, c, up ? ContourQuantity::Prin2Up : ContourQuantity::Prin2Down,
                     {0, kTopSpace + first, W, panels - first},
                     "Second principal stress (largest tension) on the " + face);
    const std::string legend = "Compression (value <0) in blue, tension (value >0) in red";
    setPen(c, kBlack, 1, PenStyle::Solid);
    c.textOut(std::max(0, (W - kBarSpace - c.textWidth(legend)) / 2), H - 18, legend);
}

// The white page with its one-pixel frame, whatever pen the view shown
// before left on the canvas.
void clearContourImage(const ViewContext& s, Canvas& c)
{
    setPen(c, kBlack, 1, PenStyle::Solid);
    ClearImage(s, c);
}

} // namespace

bool ContourDeflectionClick(const ViewContext& s, Canvas& c)
{
    s.view.ViewKind = kViewContourDeflection;
    return drawGuarded(s, [&] {
        clearContourImage(s, c);
        DrawContourPanel(s, c, ContourQuantity::Deflection, {0, kTopSpace, c.width(), c.height() - kTopSpace - 20},
                         "Developed downstream view of radial deflection: contours");
        const std::string legend = "values <0 are deflection toward downstream";
        setPen(c, kBlack, 1, PenStyle::Solid);
        c.textOut(std::max(0, (c.width() - kBarSpace - c.textWidth(legend)) / 2), c.height() - 18, legend);
    });
}

bool ContourStressUpClick(const ViewContext& s, Canvas& c)
{
    s.view.ViewKind = kViewContourStressUp;
    return drawGuarded(s, [&] {
        clearContourImage(s, c);
        twoPanels(s, c, true);
    });
}

bool ContourStressDownClick(const ViewContext& s, Canvas& c)
{
    s.view.ViewKind = kViewContourStressDown;
    return drawGuarded(s, [&] {
        clearContourImage(s, c);
        twoPanels(s, c, false);
    });
}

bool isContourView(int viewKind)
{
    return viewKind == kViewContourDeflection || viewKind == kViewContourStressUp ||
           viewKind == kViewContourStressDown;
}

bool drawContourView(const ViewContext& s, Canvas& c, int viewKind)
{
    switch (viewKind) {
    case kViewContourDeflection:
        return ContourDeflectionClick(s, c);
    case kViewContourStressUp:
        return ContourStressUpClick(s, c);
    case kViewContourStressDown:
        return ContourStressDownClick(s, c);
    default:
        return false;
    }
}

int contourViewAfter(const ViewContext& s, int viewKind)
{
    const bool defl = s.main.DeformeeButton, stress = s.main.SiButton;
    switch (viewKind) {
    case kViewStresses:
    case kViewContourStressUp:
        if (stress) return kViewContourStressDown;
        break;
    case kViewContourStressDown:
        if (stress) return kViewContourStressUp;
        break;
    default:
        break;
    }
    if (defl) return kViewContourDeflection;
    if (stress) return kViewContourStressDown;
    return -1;
}

} // namespace velta
