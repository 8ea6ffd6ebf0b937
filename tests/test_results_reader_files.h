#pragma once
// Small result files for the reader's tests: lines with fields placed at
// their columns, and the case that the sample files in tests/data/results
// belong to.
#include <initializer_list>
#include <string>
#include <vector>

#include "app/shell/Session.h"

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

// .PLT lines.
inline std::string deflTitle() { return at(5, "RADIAL ADJUSTMENT CANTILEVER DEFLECTIONS"); }
inline std::string deflEnd() { return at(5, "RADIAL ADJUSTMENT, ARCH DEFLECTIONS"); }
inline std::string stressTitle() { return at(4, "CANTILEVER PRINCIPAL STRESSES"); }
inline std::string stressEnd() { return at(5, "PRINCIPAL ARCH STRESSES LEFT ABUTMENT"); }
inline std::string slotHeader(const std::string& c) { return Card{}.put(10, 13, c); }
inline std::string deflPoint(const std::string& elev, const std::string& load, const std::string& defl)
{
    return Card{}.put(30, 39, elev).put(40, 49, load).put(55, 66, defl);
}
// Stresses as the file gives them (compression positive) with degrees and
// minutes of each face.
inline std::string stressPoint(const std::string& elev, const std::string& up1, const std::string& up2,
                               const std::string& upDeg, const std::string& upMin, const std::string& down1,
                               const std::string& down2, const std::string& downDeg, const std::string& downMin)
{
    return Card{}
        .put(15, 22, elev)
        .put(25, 32, up1)
        .put(35, 42, up2)
        .put(47, 49, upDeg)
        .put(50, 52, upMin)
        .put(71, 78, down1)
        .put(81, 88, down2)
        .put(93, 95, downDeg)
        .put(96, 98, downMin);
}

// .OUT lines.
inline std::string centresTitle() { return at(50, "PLANE OF CENTERS DATA"); }
inline std::string centresRow(double e, double a, double b, double c, double d)
{
    auto f = [](double x) { return std::to_string(x).substr(0, 9); };
    return Card{}.put(5, 14, f(e)).put(61, 70, f(a)).put(75, 84, f(b)).put(89, 98, f(c)).put(103, 112, f(d));
}
inline std::string rightCentresTitle()
{
    return at(10, "PLANE OF CENTERS DATA (FOR THE RIGHT SIDE PLANE, OR OUTER PLANE, IF 3 CENTERED GEOMETRY IS USED)");
}
inline std::string rightCentresRow(double e, double a, double b, double c, double d)
{
    auto f = [](double x) { return std::to_string(x).substr(0, 9); };
    return Card{}.put(26, 35, f(e)).put(40, 49, f(a)).put(55, 64, f(b)).put(70, 79, f(c)).put(85, 94, f(d));
}
inline std::string geomTitle(const std::string& n)
{
    return Card{}.at(1, "GEOMETRIC PROPERTIES FOR CANTILEVER NUMBER").put(82, 83, n);
}
inline std::string geomRow(const std::string& elev, const std::string& x, const std::string& t,
                           const std::string& angle)
{
    return Card{}.put(2, 8, elev).put(12, 21, x).put(23, 32, t).put(46, 52, angle);
}
inline std::string geomEnd() { return at(5, "GEOMETRIC PROPERTIES AT THE ABUTMENT ON THE LEFT SIDE"); }
inline std::string forcesTitle() { return at(20, "RESOLUTION OF FORCES AND MOMENTS ON ABUTMENTS"); }
inline std::string forceRow(const std::string& elev, const std::string& f1, const std::string& a1,
                            const std::string& f2, const std::string& a2)
{
    return Card{}.put(2, 9, elev).put(32, 41, f1).put(45, 49, a1).put(52, 61, f2).put(65, 69, a2);
}
inline std::string pageStart() { return "1   VELTA"; }

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
