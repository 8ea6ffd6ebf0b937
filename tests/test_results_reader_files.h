#pragma once
// Small result files for the reader's tests: lines with fields placed at
// their columns, and the case that the sample files in tests/data/results
// belong to.
#include <initializer_list>
#include <string>
#include <vector>

#include "app/shell/Session.h"
#include "deck/ResultFormat.h"

namespace velta::test {

// A line of a fixed-column file.
struct Card {
    std::string text;
    // `value` right-aligned in columns a to b (1-based).
    Card& put(int a, int b, const std::string& value)
    {
        int width = b - a + 1;
        std::string v = static_cast<int>(value.size()) < width ? std::string(width - value.size(), ' ') + value
                                                                 : value;
        if (static_cast<int>(text.size()) < a - 1 + static_cast<int>(v.size()))
            text.resize(a - 1 + v.size(), ' ');
        text.replace(a - 1, v.size(), v);
        return *this;
    }
    // `value` starting at column a.
    Card& at(int a, const std::string& value)
    {
        if (static_cast<int>(text.size()) < a - 1) text.resize(a - 1, ' ');
        text.replace(a - 1, std::string::npos, value);
        return *this;
    }
    operator std::string() const { return text; }
};

inline Card at(int a, const std::string& value) { return Card{}.at(a, value); }

inline std::string joinLines(std::initializer_list<std::string> lines, const std::string& eol = "\r\n")
{
    std::string out;
    for (const auto& l : lines) out += l + eol;
    return out;
}

namespace rf = velta::resultfile;

// A title as the engine places it.
inline std::string title(const rf::Title& t) { return at(t.column, std::string(t.text)); }
// `value` in a column of the result file table.
inline Card& put(Card& c, const rf::Column& col, const std::string& value)
{
    return c.put(col.first(), col.end, value);
}

// .PLT lines.
inline std::string deflTitle() { return title(rf::kDeflections); }
inline std::string deflEnd() { return title(rf::pltSectionEnd(rf::kDeflections)); }
inline std::string stressTitle() { return title(rf::kStresses); }
inline std::string stressEnd() { return title(rf::pltSectionEnd(rf::kStresses)); }
inline std::string slotHeader(const std::string& c)
{
    Card l;
    return put(l, rf::kPltSlot, c);
}
inline std::string deflPoint(const std::string& elev, const std::string& load, const std::string& defl)
{
    const auto& col = rf::kDeflectionColumns;
    Card l;
    put(l, col[rf::kDeflElev], elev);
    put(l, col[rf::kDeflArchLoad], load);
    return put(l, col[rf::kDeflRadial], defl);
}
// Stresses as the file gives them (compression positive) with degrees and
// minutes of each face.
inline std::string stressPoint(const std::string& elev, const std::string& up1, const std::string& up2,
                               const std::string& upDeg, const std::string& upMin, const std::string& down1,
                               const std::string& down2, const std::string& downDeg, const std::string& downMin)
{
    const auto& col = rf::kStressColumns;
    auto angle = [](Card& l, const rf::Column& c, const std::string& d, const std::string& m) {
        l.put(c.first(), c.first() + rf::kDegreesWidth - 1, d);
        l.put(c.first() + rf::kDegreesWidth, c.end, m);
    };
    Card l;
    put(l, col[rf::kStressElev], elev);
    put(l, col[rf::kStressUp1], up1);
    put(l, col[rf::kStressUp2], up2);
    angle(l, col[rf::kStressUpAngle], upDeg, upMin);
    put(l, col[rf::kStressDown1], down1);
    put(l, col[rf::kStressDown2], down2);
    angle(l, col[rf::kStressDownAngle], downDeg, downMin);
    return l;
}

// .OUT lines.
inline std::string centresTitle() { return title(rf::kCentres.title); }
inline std::string centresRow(double e, double a, double b, double c, double d)
{
    auto f = [](double x) { return std::to_string(x).substr(0, 9); };
    const double values[5] = {e, a, b, c, d};
    Card l;
    for (int j = 0; j < 5; ++j) put(l, rf::kCentreColumns[rf::kCentresKept[j]], f(values[j]));
    return l;
}
inline std::string rightCentresTitle() { return title(rf::kRightCentres.title); }
inline std::string rightCentresRow(double e, double a, double b, double c, double d)
{
    auto f = [](double x) { return std::to_string(x).substr(0, 9); };
    const double values[5] = {e, a, b, c, d};
    Card l;
    for (int j = 0; j < 5; ++j) put(l, rf::kRightCentreColumns[j], f(values[j]));
    return l;
}
// The title of a cantilever's sections; the sample files, written by an
// earlier engine, place it from `column` 1.
inline std::string geomTitle(const std::string& n, int column = rf::kCantileverGeometry.title.column)
{
    Card l = at(column, std::string(rf::kCantileverGeometry.title.text));
    return put(l, rf::kGeometrySlot, n);
}
inline std::string geomRow(const std::string& elev, const std::string& x, const std::string& t,
                           const std::string& angle)
{
    const auto& col = rf::kGeometryColumns;
    Card l;
    put(l, col[rf::kGeomElev], elev);
    put(l, col[rf::kGeomOffset], x);
    put(l, col[rf::kGeomThickness], t);
    return put(l, col[rf::kGeomPhi], angle);
}
inline std::string geomEnd() { return title(rf::kLeftAbutmentGeometry.title); }
inline std::string forcesTitle() { return title(rf::kForces.title); }
inline std::string forceRow(const std::string& elev, const std::string& f1, const std::string& a1,
                            const std::string& f2, const std::string& a2)
{
    const auto& col = rf::kForceColumns;
    Card l;
    put(l, col[rf::kForceElev], elev);
    put(l, col[rf::kForce1], f1);
    put(l, col[rf::kForceAngle1], a1);
    put(l, col[rf::kForce2], f2);
    return put(l, col[rf::kForceAngle2], a2);
}
inline std::string pageStart() { return std::string(rf::kPageBreak) + "   VELTA"; }

// n copies of a filler line.
inline std::string filler(int n, const std::string& line = "  -----")
{
    std::string out;
    for (int i = 0; i < n; ++i) out += line + "\r\n";
    return out;
}

// The case of the sample files: slots 18 to 22, three arches.
inline void sampleCase(Session& s)
{
    s.model.FirstCons = 18;
    s.model.LastCons = 22;
    s.model.NbArcs = 3;
    s.model.ConsBaseElev.fill(0);
    s.model.ConsBaseElev[18] = 1100;
    s.model.ConsBaseElev[19] = 1040;
    s.model.ConsBaseElev[20] = 1000;
    s.model.ConsBaseElev[21] = 1040;
    s.model.ConsBaseElev[22] = 1100;
    s.geo.NbCenterEdit = 1;
}

}  // namespace velta::test

namespace velta::test {

// The first broken invariant of the results model and the view controls
// after a read that showed `messages`; empty when all hold.
inline std::string brokenResultsInvariant(const Session& s, const std::vector<std::string>& messages)
{
    const ResultsModel& r = s.results;
    const MainWindowState& w = s.main;
    auto shown = [&](const std::string& start) {
        for (const auto& m : messages)
            if (m.rfind(start, 0) == 0) return true;
        return false;
    };
    if (messages.size() > 7) return "too many messages";
    for (const auto& m : messages)
        if (m.find("not found") == std::string::npos) return "unexpected message: " + m;
    if (w.DeformeeButton != !shown("Deflection results")) return "deflection controls";
    if (w.LoadButton != w.DeformeeButton) return "load view control";
    if (w.SiButton != !shown("Principal stresses results")) return "stress controls";
    if (w.GeometrieButton3d != !shown("Geometric properties for cantilevers")) return "3D control";
    if (w.FappuiButton != !shown("Forces results")) return "force controls";
    for (bool b : {w.PlusButton, w.MoinsButton, w.ValeurButton, w.ScaleLabel})
        if (b != w.FappuiButton) return "scale controls follow the last section";

    const int first = s.model.FirstCons, last = s.model.LastCons;
    for (int c = 0; c < kConsSlots; ++c) {
        const bool used = c >= first && c <= last;
        const std::string at = " at slot " + std::to_string(c);
        const int nd = r.ResDeflCount[c], ns = r.ResStressCount[c], ng = r.ResConsGeomCount[c];
        if (nd < 0 || nd > kResultPoints || ns < 0 || ns > kResultPoints || ng < 0 || ng > kGeomRows)
            return "count out of bounds" + at;
        for (int u = 0; u < kUnitCopies; ++u) {
            for (int k = nd; k < kResultPoints; ++k)
                if (r.ResDeflElev[u][c][k] != kNoElevation || r.ResDeflection[u][c][k] != 0 ||
                    r.ResConsLoad[u][c][k] != 0)
                    return "deflection beyond the count" + at;
            for (int k = ns; k < kResultPoints; ++k)
                for (const TabResult* t : {&r.ResStressElev, &r.ResPrin1Up, &r.ResPrin2Up, &r.ResAngleUp,
                                           &r.ResPrin1Down, &r.ResPrin2Down, &r.ResAngleDown})
                    if ((*t)[u][c][k] != 0) return "stress beyond the count" + at;
            for (int k = 0; k < kResultPoints; ++k)
                if ((!used || k > 3) && r.ResAbutForce[u][c][k] != 0) return "force outside the used slots" + at;
        }
        for (int j = 0; j < 4; ++j)
            for (int k = ng; k < kGeomRows; ++k)
                if (r.ResConsGeom[j][c][k] != 0) return "section row beyond the count" + at;
        if (!used) continue;
        for (int k = 0; k < nd && w.DeformeeButton; ++k)
            if (r.ResDeflElev[1][c][k] != r.ResDeflElev[0][c][k] * 0.3048) return "deflection SI layer" + at;
        for (int k = 0; k < ns && w.SiButton; ++k) {
            if (!(r.ResPrin1Up[0][c][k] <= r.ResPrin2Up[0][c][k]) ||
                !(r.ResPrin1Down[0][c][k] <= r.ResPrin2Down[0][c][k]))
                return "stresses out of order" + at;
            if (r.ResPrin1Up[1][c][k] != r.ResPrin1Up[0][c][k] / 145.038) return "stress SI layer" + at;
        }
    }
    return {};
}

}  // namespace velta::test
