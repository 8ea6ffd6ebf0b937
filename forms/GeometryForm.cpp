#include "forms/GeometryForm.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <functional>
#include <optional>
#include <stdexcept>

#include "forms/GeometryMath.h"
#include "model/Numbers.h"
#include "model/UnitRefresh.h"
#include "model/Units.h"

namespace velta {

namespace {

constexpr int kMaxGridRows = kTabRows;  // data rows a face or arch grid may hold

bool isEmpty(const std::string& cell)
{
    return cell.empty();
}

GridState& gridOf(CaseEditors& s, GridKind kind)
{
    return kind == GridKind::Face ? s.geo.StructureStringGrid : s.geo.ArcStringGrid;
}
const GridState& gridOf(const CaseEditors& s, GridKind kind)
{
    return kind == GridKind::Face ? s.geo.StructureStringGrid : s.geo.ArcStringGrid;
}

// Replaces the abscissa cell by x unless the typed value is within 0.01 of
// it; the margin keeps a typed value exactly 0.01 away from being rewritten
// by binary round-off.
void completeAbscissa(std::string& cell, double x)
{
    if (isEmpty(cell) || std::fabs(parseNumber(cell) - x) > 0.01 + 1e-9) cell = formatF3(x);
}

// Fills the arch grid from the committed arch table (row 1 the top arch).
void loadArcGrid(CaseEditors& s)
{
    GridState& g = s.geo.ArcStringGrid;
    const int n = std::clamp(s.model.NbArcs, 0, kMaxArcs);
    const int u = s.model.UnitSystem;
    g.setDataRows(n);
    for (int r = 1; r <= n; ++r) {
        for (int c = 0; c <= kArcPhiR; ++c) g.cell(c, r) = s.model.ArcTab(u, c, n - r);
        g.setRowTag(r, n - r);
    }
}

// The arch table is about to take the grid's rows: the per-arch rows of the
// rock moduli and the temperatures, and the grout arch, follow their arches
// (each grid row is tagged with the arch row it was loaded from); an arch
// added in the grid gets empty rows. `oldArcs` is the arch count before the
// commit. Afterwards each grid row is tagged with its new arch row.
void keepPerArchRows(CaseModel& m, GridState& g, int n, int oldArcs)
{
    const int u = m.UnitSystem;
    const Tab3dim oldDef = m.DefTab, oldTemp = m.TempTab;
    const int oldGroutRow = m.GroutIndex >= 0 && m.GroutIndex < oldArcs ? oldArcs - 1 - m.GroutIndex : -1;
    int grout = -1;
    for (Tab3dim* t : {&m.DefTab, &m.TempTab})
        for (int uu = 0; uu < kUnitCopies; ++uu)
            for (int c = 0; c < kTabColumns; ++c)
                for (int r = 0; r < kTabRows; ++r) (*t)(uu, c, r).clear();
    for (int r = 1; r <= n; ++r) {
        const int k = n - r;
        const int from = g.rowTag(r);
        if (from >= 0 && from < oldArcs) {
            for (int uu = 0; uu < kUnitCopies; ++uu)
                for (int c = 0; c < kTabColumns; ++c) {
                    m.DefTab(uu, c, k) = oldDef(uu, c, from);
                    m.TempTab(uu, c, k) = oldTemp(uu, c, from);
                }
            if (from == oldGroutRow) grout = r - 1;
        }
        // The elevation column follows the arch's elevation, also when the
        // arch was moved.
        const std::string& z = g.cell(kArcElevation, r);
        std::string other;
        try {
            other = convertCell(Quantity::Length, z, u, 3);
        } catch (const std::exception&) {
        }
        for (Tab3dim* t : {&m.DefTab, &m.TempTab}) {
            (*t)(u, 0, k) = z;
            (*t)(1 - u, 0, k) = other;
        }
        g.setRowTag(r, k);
    }
    m.GroutIndex = grout;
}

bool sameElevation(double a, double b)
{
    return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(b));
}

// The arches and the face tables must lie between the base and the top of
// the dam (a deck with an arch above its crest cannot be read back). Reports
// the first fault through `fail` and returns whether all is well.
bool checkElevationRanges(CaseEditors& s, const std::function<void(const std::string&)>& fail)
{
    const CaseModel& m = s.model;
    const int u = m.UnitSystem;
    const double base = m.BaseElev[u], top = m.TopElev[u];
    const std::string unit = std::string(" ") + lengthUnit(u);
    const std::string range = "the dam runs from its base at " + formatGeneral(base) + unit + " to its top at " +
                              formatGeneral(top) + unit;
    if (!(top > base)) {
        fail("The top of the dam (" + formatGeneral(top) + unit + ") must be above its base (" +
             formatGeneral(base) + unit + ").");
        return false;
    }
    const GridState& g = s.geo.ArcStringGrid;
    const int n = g.dataRows();
    std::optional<double> above;
    for (int r = 1; r <= n; ++r) {
        const auto z = tryParseNumber(g.cell(kArcElevation, r));
        if (!z) continue;  // reported as an input error of the structure
        const std::string e = trim(g.cell(kArcElevation, r)) + unit;
        if (*z > top && !sameElevation(*z, top)) {
            fail("The arch at elevation " + e + " lies above the top of the dam: " + range +
                 ", and every arch must lie between them.");
            return false;
        }
        if (*z < base && !sameElevation(*z, base)) {
            fail("The arch at elevation " + e + " lies below the base of the dam: " + range +
                 ", and every arch must lie between them.");
            return false;
        }
        if (above && (*z > *above || sameElevation(*z, *above))) {
            fail("The arch at elevation " + e + " is not below the arch above it (" + formatGeneral(*above) + unit +
                 "): the arches must rise from the base to the top.");
            return false;
        }
        above = *z;
    }
    const int lastTable = m.NbCenter == 2 ? kRightDownstreamLoC : kDownstreamLoC;
    for (int t = 0; t <= lastTable; ++t) {
        const std::string name =
            t < static_cast<int>(s.geo.faceTabs.size()) ? s.geo.faceTabs[t] : "table " + std::to_string(t);
        const int rows = std::clamp(m.FaceRows[t], 0, kTabRows - 1);
        std::vector<double> z;
        for (int r = 0; r <= rows; ++r) {
            const auto v = tryParseNumber(m.FaceTab[t](u, kColElevation, r));
            if (!v) return true;  // the face validation reports it
            z.push_back(*v);
        }
        bool spans = sameElevation(z.front(), base) && sameElevation(z.back(), top);
        for (size_t r = 1; r < z.size(); ++r) spans = spans && z[r] > z[r - 1] && !sameElevation(z[r], z[r - 1]);
        if (!spans) {
            fail("The face table \"" + name + "\" runs from " + formatGeneral(z.front()) + unit + " to " +
                 formatGeneral(z.back()) + unit + " but " + range +
                 ": each face table must rise from the base to the top. Select its tab so that it takes the "
                 "new top and base, and check its elevations.");
            return false;
        }
    }
    return true;
}

void setFaceTabCaptions(GeometryEditorState& geo, bool renamingRightTabs)
{
    if (geo.NbCenterEdit == 1) {
        geo.faceTabs[2] = "Upstream line of center";
        geo.faceTabs[3] = "Downstream line of center";
        return;
    }
    geo.faceTabs[2] = "Left Us LoC";
    geo.faceTabs[3] = "Left Ds Loc";
    if (renamingRightTabs) {
        geo.faceTabs[4] = "Right Us LoC";
        geo.faceTabs[5] = "Right Ds Loc";
    }
}

// Elevation typed into an input box: the number, or a conversion error
// reported through the message sink.
std::optional<double> askElevation(CaseEditors& s, const std::string& title, const std::string& prompt,
                                   std::string& text)
{
    text = s.prompter.askText(title, prompt, "").value_or("");
    try {
        return parseNumber(text);
    } catch (const ConversionError& e) {
        s.messages.error(e.what());
        return std::nullopt;
    }
}

double elevationOf(const GridState& g, int row)
{
    return parseNumber(g.cell(0, row));
}

}  // namespace

// ---------------------------------------------------------------------------
// Headers, showing and the centre-count rule

void writeGeometryGridHeaders(CaseEditors& s)
{
    const bool si = s.model.UnitSystem == kSI;
    GridState& f = s.geo.StructureStringGrid;
    if (si) {
        const char* h[] = {"Elevation (m)",         "abscisse (m)",   "slope", "Circle \n\rcenter abs (m)",
                           "Circle center elv (m)", "Circle  rad (m)"};
        for (int c = 0; c < 6; ++c) f.cell(c, 0) = h[c];
    } else {
        const char* h[] = {"Elevation (ft)",           "Abscisse (ft)",          "Slope",
                           "Circle \ncenter abs (ft)", "Circle center elv (ft)", "Circle rad (ft)"};
        for (int c = 0; c < 6; ++c) f.cell(c, 0) = h[c];
    }
    GridState& a = s.geo.ArcStringGrid;
    a.cell(kArcElevation, 0) = si ? "Elevation (m)" : "Elevation (ft)";
    a.cell(kArcCode, 0) = "Procedure ctrl";
    const bool phi = s.geo.AngleRadioGroup == 0;
    a.cell(kArcPhiL, 0) = phi ? "Phi L(°)" : "A L(°)";
    a.cell(kArcPhiR, 0) = phi ? "Phi R(°)" : "A R(°)";
}

void GeometryFormActivate(CaseEditors& s)
{
    CaseModel& m = s.model;
    const int u = m.UnitSystem;
    s.geo.unitLabel = lengthUnit(u);
    s.geo.StructureStringGrid.setColumnCount(6);
    s.geo.ArcStringGrid.setColumnCount(4);
    writeGeometryGridHeaders(s);

    m.FaceRowsWork = m.FaceRows;
    m.FaceTabWork = m.FaceTab;

    if (s.geo.faceTabIndex < 0 || s.geo.faceTabIndex >= static_cast<int>(s.geo.faceTabs.size()))
        s.geo.faceTabIndex = 0;
    FaceTabControlChange(s);
    NbCenterEditChange(s);

    // Setting the fields raises their change events, which copy the top and
    // base into the grids.
    s.geo.TopDEdit = formatGeneral(m.TopElev[u]);
    TopDEditChange(s);
    s.geo.BaseDEdit = formatGeneral(m.BaseElev[u]);
    BaseDEditChange(s);
    s.geo.RadiusEdit = formatGeneral(m.Radius[u]);
    s.geo.RadiusEditR = formatGeneral(m.RadiusR[u]);

    loadArcGrid(s);
}

void NbCenterEditChange(CaseEditors& s)
{
    GeometryEditorState& geo = s.geo;
    geo.NbCenterEdit = std::clamp(geo.NbCenterEdit, 1, 2);
    if (geo.NbCenterEdit == 1) {
        geo.RadiusLabel = "Radius";
        geo.rightRadiusVisible = false;
        geo.layoutPicture = 0;
        if (geo.faceTabs.size() > 4) {
            geo.faceTabs.resize(4);
            // A removed right-hand tab gives way to its left counterpart; its
            // unvalidated edits go with it.
            if (geo.faceTabIndex >= 4) {
                geo.faceTabIndex -= 2;
                FaceTabControlChange(s);
            }
        }
        setFaceTabCaptions(geo, false);
    } else {
        geo.RadiusLabel = "Left Radius";
        geo.rightRadiusVisible = true;
        geo.layoutPicture = 1;
        const bool adding = geo.faceTabs.size() == 4;
        if (adding) {
            geo.faceTabs.push_back("Right Us LoC");
            geo.faceTabs.push_back("Right Ds LoC");
        }
        setFaceTabCaptions(geo, !adding);
    }
    geo.ArcStringGrid.setColumnCount(4);
}

void TopDEditChange(CaseEditors& s)
{
    for (GridState* g : {&s.geo.StructureStringGrid, &s.geo.ArcStringGrid})
        if (g->dataRows() >= 1) g->cell(0, 1) = s.geo.TopDEdit;
}

void BaseDEditChange(CaseEditors& s)
{
    for (GridState* g : {&s.geo.StructureStringGrid, &s.geo.ArcStringGrid})
        if (g->dataRows() >= 1) g->cell(0, g->dataRows()) = s.geo.BaseDEdit;
}

// ---------------------------------------------------------------------------
// Face tabs

void FaceTabControlChange(CaseEditors& s)
{
    const int t = std::clamp(s.geo.faceTabIndex, 0, kFaceTabs - 1);
    const int u = s.model.UnitSystem;
    const int top = std::clamp(s.model.FaceRowsWork[t], 0, kTabRows - 1);
    const Tab3dim& work = s.model.FaceTabWork[t];
    GridState& g = s.geo.StructureStringGrid;
    g.setDataRows(top + 1);
    for (int r = 1; r <= top + 1; ++r)
        for (int c = 0; c <= kColCircleRadius; ++c) g.cell(c, r) = work(u, c, top + 1 - r);
    g.cell(kColElevation, 1) = s.geo.TopDEdit;
    g.cell(kColElevation, top + 1) = s.geo.BaseDEdit;
}

void FaceTabControlChanging(CaseEditors& s, bool& AllowChange)
{
    GridState& g = s.geo.StructureStringGrid;
    const int n = g.dataRows();
    auto fail = [&](const std::string& message, bool always) {
        if (always || AllowChange) s.messages.error(message);
        AllowChange = false;
    };
    if (n < 1 || n > kMaxGridRows) {
        fail("Erreur d'entrée des données (soit vide, soit nombre)", true);
        return;
    }

    // 1. Every non-empty cell must be a number; the first one that is not is reported.
    [&] {
        for (int r = 1; r <= n; ++r)
            for (int c = kColAbscissa; c <= kColCircleRadius; ++c)
                if (!isEmpty(g.cell(c, r)) && !tryParseNumber(g.cell(c, r))) {
                    fail("data are not numbers", true);
                    return;
                }
    }();

    // 2, 3. The base row holds an abscissa and nothing else.
    if (isEmpty(g.cell(kColAbscissa, n))) fail("Abscisse at the base should be defined", true);
    for (int c = kColSlope; c <= kColCircleRadius; ++c)
        if (!isEmpty(g.cell(c, n))) fail("no values allowed except abscisse at the base", false);

    // 4. Rows from the one above the base up to the top; each completes its
    // abscissa or slope from the row below, which is already complete.
    try {
        for (int r = n - 1; r >= 1; --r) {
            const std::string e = g.cell(kColElevation, r);
            const bool absc = !isEmpty(g.cell(kColAbscissa, r));
            const bool slope = !isEmpty(g.cell(kColSlope, r));
            int circleCells = 0;
            for (int c = kColCircleX; c <= kColCircleRadius; ++c) circleCells += !isEmpty(g.cell(c, r));

            if (!absc && !slope && circleCells == 0) fail("elevation " + e + " is empty", false);
            if (slope && circleCells > 0) fail("elevation " + e + " has slope and circle data", false);
            // Part of a circle beside a typed abscissa is incomplete too: the
            // row could be evaluated neither as a point nor as a circle.
            if ((!absc && !slope && circleCells < 3) || (!slope && circleCells > 0 && circleCells < 3))
                fail("elevation " + e + " has incomplete circle data", false);

            if (circleCells == 3) {
                const double z = parseNumber(g.cell(kColElevation, r));
                const double x =
                    circleAbscissa(parseNumber(g.cell(kColCircleX, r)), parseNumber(g.cell(kColCircleZ, r)),
                                   parseNumber(g.cell(kColCircleRadius, r)), z);
                completeAbscissa(g.cell(kColAbscissa, r), x);
            }
            if (slope) {
                const double z = parseNumber(g.cell(kColElevation, r));
                const double zb = parseNumber(g.cell(kColElevation, r + 1));
                const double xb = parseNumber(g.cell(kColAbscissa, r + 1));
                completeAbscissa(g.cell(kColAbscissa, r), xb + parseNumber(g.cell(kColSlope, r)) * (z - zb));
            }
            if (!slope && circleCells == 0) {
                const double z = parseNumber(g.cell(kColElevation, r));
                const double zb = parseNumber(g.cell(kColElevation, r + 1));
                const double x = parseNumber(g.cell(kColAbscissa, r));
                const double xb = parseNumber(g.cell(kColAbscissa, r + 1));
                if (z == zb)
                    throw std::domain_error("elevation " + e + " equals the elevation of the row below");
                g.cell(kColSlope, r) = formatF3((x - xb) / (z - zb));
            }
        }
    } catch (const std::exception& err) {
        s.messages.error(err.what());
        AllowChange = false;
        return;
    }

    // 5. Store, base first. Rows above the new top are emptied in both unit
    // copies so that no earlier, longer table survives above the crest.
    if (!AllowChange) return;
    const int t = std::clamp(s.geo.faceTabIndex, 0, kFaceTabs - 1);
    const int u = s.model.UnitSystem;
    Tab3dim& work = s.model.FaceTabWork[t];
    s.model.FaceRowsWork[t] = n - 1;
    for (int r = 1; r <= n; ++r)
        for (int c = 0; c <= kColCircleRadius; ++c) work(u, c, n - r) = g.cell(c, r);
    for (int uu = 0; uu < kUnitCopies; ++uu)
        for (int c = 0; c <= kColCircleRadius; ++c)
            for (int row = n; row < kTabRows; ++row) work(uu, c, row).clear();
    AllowChange = true;
}

bool selectFaceTab(CaseEditors& s, int newIndex)
{
    if (newIndex == s.geo.faceTabIndex || newIndex < 0 || newIndex >= static_cast<int>(s.geo.faceTabs.size()))
        return false;
    bool allow = true;
    FaceTabControlChanging(s, allow);
    if (!allow) return false;
    s.geo.faceTabIndex = newIndex;
    FaceTabControlChange(s);
    return true;
}

// ---------------------------------------------------------------------------
// Angle convention

bool AngleRadioGroupClick(CaseEditors& s, int newIndex)
{
    GeometryEditorState& geo = s.geo;
    if (newIndex != 0 && newIndex != 1) return false;
    if (newIndex == geo.AngleRadioGroup) return true;

    // 1. The upstream line of centres is shown and validated; the tab that
    // was shown is first left as a user would leave it, so that its edits
    // are kept in its working table (or the switch is refused).
    if (geo.faceTabIndex != kUpstreamLoC) {
        bool allow = true;
        FaceTabControlChanging(s, allow);
        if (!allow) return false;
        geo.faceTabIndex = kUpstreamLoC;
        FaceTabControlChange(s);
    }
    bool allow = true;
    FaceTabControlChanging(s, allow);
    if (!allow) return false;

    // 2 to 4. All new angles are computed first; an error leaves the grid,
    // the convention and the headers as they were.
    const int u = s.model.UnitSystem;
    const bool twoCentres = geo.NbCenterEdit == 2;
    GridState& g = geo.ArcStringGrid;
    GridState converted = g;
    try {
        const double rl = parseNumber(geo.RadiusEdit);
        const double rr = twoCentres ? parseNumber(geo.RadiusEditR) : rl;
        for (int r = 1; r < g.dataRows(); ++r) {
            const bool hasL = !isEmpty(g.cell(kArcPhiL, r)), hasR = !isEmpty(g.cell(kArcPhiR, r));
            if (!hasL && !hasR) continue;
            const double z = parseNumber(g.cell(kArcElevation, r));
            const double xl = AbscisseAtElevation(s.model.FaceTabWork[kUpstreamLoC], u, z);
            const double xr =
                twoCentres ? AbscisseAtElevation(s.model.FaceTabWork[kRightUpstreamLoC], u, z) : xl;
            auto convert = [&](int col, double radius, double x) {
                const double v = parseNumber(g.cell(col, r));
                const double w =
                    newIndex == 1 ? PhitoA(v, radius - x, radius) : AToPhi(v, radius - x, radius);
                converted.cell(col, r) = formatGeneral(round2(w));
            };
            if (hasL) convert(kArcPhiL, rl, xl);
            if (hasR) convert(kArcPhiR, rr, xr);
        }
    } catch (const std::exception& err) {
        s.messages.error(err.what());
        return false;
    }
    g = converted;
    geo.AngleRadioGroup = newIndex;
    writeGeometryGridHeaders(s);
    return true;
}

// ---------------------------------------------------------------------------
// The commit

bool LectureStructure(CaseEditors& s)
{
    CaseModel& m = s.model;
    GeometryEditorState& geo = s.geo;
    const int u = m.UnitSystem;
    bool ok = true;
    auto fail = [&](const std::string& message) {
        if (ok) s.messages.error(message);
        ok = false;
    };

    const int oldArcs = m.archRows();

    // 1. Scalars; the fields after the first that is not a number keep their values.
    m.NbCenter = std::clamp(geo.NbCenterEdit, 1, 2);
    bool scalarsRead = true;
    try {
        m.TopElev[u] = parseNumber(geo.TopDEdit);
        m.BaseElev[u] = parseNumber(geo.BaseDEdit);
        m.Radius[u] = parseNumber(geo.RadiusEdit);
        m.RadiusR[u] = m.NbCenter == 2 ? parseNumber(geo.RadiusEditR) : m.Radius[u];
    } catch (const ConversionError&) {
        fail("error with the general structure data");
        scalarsRead = false;
    }

    // 2. Face tables. With one centre the right-hand lines of centres are the
    // left ones, row counts included.
    m.FaceRows = m.FaceRowsWork;
    m.FaceTab = m.FaceTabWork;
    if (m.NbCenter == 1) {
        m.FaceTab[kRightUpstreamLoC] = m.FaceTab[kUpstreamLoC];
        m.FaceTab[kRightDownstreamLoC] = m.FaceTab[kDownstreamLoC];
        m.FaceRows[kRightUpstreamLoC] = m.FaceRows[kUpstreamLoC];
        m.FaceRows[kRightDownstreamLoC] = m.FaceRows[kDownstreamLoC];
    }

    // Arches and face tables between the base and the top. Outside them the
    // cantilever layout cannot be derived, and is left as it was.
    const bool inRange = !scalarsRead || checkElevationRanges(s, fail);
    if (!inRange) ok = false;

    // 3 to 6. Arch table and cantilever layout.
    GridState& g = geo.ArcStringGrid;
    const int n = g.dataRows();
    m.NbArcs = std::min(n, kMaxArcs);  // the table holds at most 11 arches
    try {
        if (n < 1 || n > kMaxArcs) throw ConversionError("the arch table must have 1 to 11 rows");
        if (parseInteger(g.cell(kArcCode, n)) != 1) {
            fail("bottom elevation should be type 1");
        } else {
            g.cell(kArcPhiL, n).clear();
            g.cell(kArcPhiR, n).clear();
        }
        for (int r = n - 1; r >= 1; --r) {
            const std::string e = g.cell(kArcElevation, r);
            if (isEmpty(g.cell(kArcCode, r))) {
                fail("elevation " + e + " has no type value");
                continue;
            }
            const int code = parseInteger(g.cell(kArcCode, r));
            if (code == 2) {
                g.cell(kArcPhiR, r).clear();
                if (!(parseNumber(g.cell(kArcPhiL, r)) > 0)) fail("angle can not be lower than 0");
            } else if (code == 3) {
                g.cell(kArcPhiL, r).clear();
                if (!(parseNumber(g.cell(kArcPhiR, r)) > 0)) fail("angle can not be lower than 0");
            } else if (code == 0 || code == 5) {
                for (int col : {kArcPhiL, kArcPhiR})
                    if (isEmpty(g.cell(col, r + 1)) && parseNumber(g.cell(col, r)) < 0)
                        fail("elevation " + e + ": angle can not be lower than 0");
            }
        }

        keepPerArchRows(m, g, n, oldArcs);
        for (int r = 1; r <= n; ++r)
            for (int c = 0; c <= kArcPhiR; ++c) m.ArcTab(u, c, n - r) = g.cell(c, r);

        if (inRange) {
            CantileverLayout l = computeCantileverLayout(m.ArcTab, n, u, m.FaceTab[kUpstreamLoC],
                                                         m.FaceTab[kRightUpstreamLoC], m.Radius[u], m.RadiusR[u]);
            if (u == kSI)
                for (int k = l.first; k <= l.last; ++k) l.baseElev[k] = R2(l.baseElev[k] / kFoot);
            m.ConsAngle = l.angle;
            m.ConsBaseElev = l.baseElev;
            m.FirstCons = l.first;
            m.LastCons = l.last;
        }
    } catch (const std::exception&) {
        s.messages.error("Erreur d'entrée de la structure");
        ok = false;
    }

    // 7. Validated state. A commit stopped by an input error is not validated
    // either: the model no longer matches what was last validated.
    s.main.GeometrieMenu = ok;
    s.main.GeometrieButton = ok;

    // 8 to 10. The other unit system's copy.
    try {
        refreshOtherUnitCopy(m, UnitEditor::Geometry, u);
    } catch (const std::exception& err) {
        s.messages.error(err.what());
        s.main.GeometrieMenu = s.main.GeometrieButton = false;
        return false;
    }
    return ok;
}

bool GeometryOKButtonClick(CaseEditors& s)
{
    bool allow = true;
    FaceTabControlChanging(s, allow);
    if (!allow) return false;
    // The model stores Phi angles: a grid that cannot be brought back to Phi
    // is not committed.
    if (s.geo.AngleRadioGroup == 1 && !AngleRadioGroupClick(s, 0)) return false;
    const bool closes = LectureStructure(s);
    s.main.disableResultControls();
    return closes;
}

void GeometryAnnulerButtonClick(CaseEditors& s)
{
    GeometryEditorState& geo = s.geo;
    const int u = s.model.UnitSystem;
    const int nb = std::clamp(s.model.NbCenter, 1, 2);
    if (geo.NbCenterEdit != nb) {
        geo.NbCenterEdit = nb;
        NbCenterEditChange(s);
    }
    geo.TopDEdit = formatGeneral(s.model.TopElev[u]);
    TopDEditChange(s);
    geo.BaseDEdit = formatGeneral(s.model.BaseElev[u]);
    BaseDEditChange(s);
    geo.RadiusEdit = formatGeneral(s.model.Radius[u]);
    geo.RadiusEditR = formatGeneral(s.model.RadiusR[u]);
    // The grids are abandoned: back in Phi, the arch grid shows the committed
    // angles again.
    if (geo.AngleRadioGroup != 0) {
        geo.AngleRadioGroup = 0;
        loadArcGrid(s);
        writeGeometryGridHeaders(s);
    }
    s.main.GeometrieMenu = false;
}

// ---------------------------------------------------------------------------
// Right-click menus

GridMenuItems gridMenuItems(const CaseEditors& s, GridKind grid)
{
    const GridState& g = gridOf(s, grid);
    const int r = g.currentRow, n = g.dataRows();
    GridMenuItems items;
    const bool onRow = r >= 1 && r <= n;
    items.insertBelow = onRow && n <= 10 && r != n;
    items.changeElevation = items.remove = onRow && r != 1 && r != n;
    items.copyFromPrevTab = grid == GridKind::Face && s.geo.faceTabIndex > 0;
    return items;
}

void gridInsertBelow(CaseEditors& s, GridKind grid)
{
    if (!gridMenuItems(s, grid).insertBelow) return;
    GridState& g = gridOf(s, grid);
    const int r = g.currentRow;
    std::string text;
    const auto v = askElevation(s, grid == GridKind::Face ? "Insert elevation" : "Insert Arch",
                                "Enter the new elevation", text);
    if (!v) return;
    try {
        if (!(*v < elevationOf(g, r) && *v > elevationOf(g, r + 1))) {
            s.messages.error("Incorrect new elevation");
            return;
        }
    } catch (const ConversionError& e) {
        s.messages.error(e.what());
        return;
    }
    g.insertRow(r + 1);
    g.cell(kColElevation, r + 1) = text;
}

void gridChangeElevation(CaseEditors& s, GridKind grid)
{
    if (!gridMenuItems(s, grid).changeElevation) return;
    GridState& g = gridOf(s, grid);
    const int r = g.currentRow;
    std::string text;
    const auto v = askElevation(s, grid == GridKind::Face ? "Change elevation" : "Change arch elevation",
                                "Enter the modified elevation", text);
    if (!v) return;
    try {
        if (!(*v < elevationOf(g, r - 1) && *v > elevationOf(g, r + 1))) {
            s.messages.error("Incorrect new elevation");
            return;
        }
    } catch (const ConversionError& e) {
        s.messages.error(e.what());
        return;
    }
    g.cell(kColElevation, r) = text;
}

void gridRemove(CaseEditors& s, GridKind grid)
{
    if (!gridMenuItems(s, grid).remove) return;
    gridOf(s, grid).removeRow(gridOf(s, grid).currentRow);
}

void faceCopyElevationsFromPrevTab(CaseEditors& s)
{
    const int t = s.geo.faceTabIndex;
    if (t <= 0 || t >= kFaceTabs) return;
    const int u = s.model.UnitSystem;
    const int top = std::clamp(s.model.FaceRowsWork[t - 1], 0, kTabRows - 1);
    GridState& g = s.geo.StructureStringGrid;
    g.setDataRows(top + 1);
    for (int r = 1; r <= top + 1; ++r)
        g.cell(kColElevation, r) = s.model.FaceTabWork[t - 1](u, kColElevation, top + 1 - r);
}

}  // namespace velta
