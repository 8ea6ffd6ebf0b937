#pragma once
// Cases built by hand for the engine's tests.
#include "forms/GeometryMath.h"
#include "model/CaseModel.h"

namespace velta::test {

// A face table of straight segments through (elevation, abscissa) points,
// lowest first, with the slopes filled in as a validated table holds them.
inline void straightFace(CaseModel& m, int t, std::initializer_list<std::pair<double, double>> pts)
{
    Tab3dim& tab = m.FaceTab[t];
    int r = 0;
    double zp = 0, xp = 0;
    for (auto [z, x] : pts) {
        tab(0, kColElevation, r) = std::to_string(z);
        tab(0, kColAbscissa, r) = std::to_string(x);
        if (r > 0) tab(0, kColSlope, r) = std::to_string((x - xp) / (z - zp));
        zp = z;
        xp = x;
        ++r;
    }
    m.FaceRows[t] = r - 1;
}

inline void commitLayout(CaseModel& m)
{
    if (m.NbCenter == 1) {
        m.FaceTab[4] = m.FaceTab[2];
        m.FaceTab[5] = m.FaceTab[3];
        m.FaceRows[4] = m.FaceRows[2];
        m.FaceRows[5] = m.FaceRows[3];
        m.RadiusR = m.Radius;
    }
    const CantileverLayout l =
        computeCantileverLayout(m.ArcTab, m.NbArcs, 0, m.FaceTab[2], m.FaceTab[4], m.Radius[0], m.RadiusR[0]);
    m.ConsAngle = l.angle;
    m.ConsBaseElev = l.baseElev;
    m.FirstCons = l.first;
    m.LastCons = l.last;
}

inline void setArch(CaseModel& m, int r, double z, const char* code, const char* phiL, const char* phiR)
{
    m.ArcTab(0, kArcElevation, r) = std::to_string(z);
    m.ArcTab(0, kArcCode, r) = code;
    m.ArcTab(0, kArcPhiL, r) = phiL;
    m.ArcTab(0, kArcPhiR, r) = phiR;
}

// The reference dam T1: one centre, radius 500 ft, vertical upstream face,
// 40 ft thick at the base (1000 ft) to 10 ft at the crest (1200 ft), arch
// centres on the axis centre, a V-shaped valley, practically rigid rock.
inline CaseModel caseT1()
{
    CaseModel m;
    m.DamName[0] = "T1 cylinder test dam";
    m.NbCenter = 1;
    m.TopElev = {1200, 365.76};
    m.BaseElev = {1000, 304.8};
    m.Radius = {500, 152.4};
    straightFace(m, kUpstreamFace, {{1000, 0}, {1200, 0}});
    straightFace(m, kDownstreamFace, {{1000, 40}, {1200, 10}});
    straightFace(m, kUpstreamLoC, {{1000, 500}, {1200, 500}});
    straightFace(m, kDownstreamLoC, {{1000, 500}, {1200, 500}});
    m.NbArcs = 5;
    setArch(m, 0, 1000, "1", "", "");
    setArch(m, 1, 1050, "0", "30", "30");
    setArch(m, 2, 1100, "0", "42", "42");
    setArch(m, 3, 1150, "0", "50", "50");
    setArch(m, 4, 1200, "0", "55", "55");
    m.Ec = {3.0, 20.69};
    m.Nuc = {0.2, 0.2};
    m.Thec = {5.6, 10.08};
    m.Wc = {0, 0};
    m.Er = {300, 2068.5};
    m.Nur = {0.2, 0.2};
    m.Rwe = {1200, 365.76};
    m.Twe = {1000, 304.8};
    m.GroutIndex = 0;
    commitLayout(m);
    return m;
}

} // namespace velta::test

namespace velta::test {

// A two-centred dam with eleven arches: inclined faces, lines of centres
// that move with elevation and differ between the two sides.
inline CaseModel caseTwoCentres()
{
    CaseModel m;
    m.DamName[0] = "Two-centred test dam";
    m.NbCenter = 2;
    m.TopElev = {1250, 381};
    m.BaseElev = {1000, 304.8};
    m.Radius = {400, 121.92};
    m.RadiusR = {450, 137.16};
    straightFace(m, kUpstreamFace, {{1000, 20}, {1125, 5}, {1250, 0}});
    straightFace(m, kDownstreamFace, {{1000, 75}, {1125, 35}, {1250, 15}});
    straightFace(m, kUpstreamLoC, {{1000, 330}, {1250, 400}});
    straightFace(m, kDownstreamLoC, {{1000, 300}, {1250, 390}});
    straightFace(m, kRightUpstreamLoC, {{1000, 360}, {1250, 450}});
    straightFace(m, kRightDownstreamLoC, {{1000, 320}, {1250, 440}});
    m.NbArcs = 11;
    setArch(m, 0, 1000, "1", "", "");
    const char* L[] = {"", "22", "30", "35", "39", "42", "45", "47", "49", "51", "52"};
    const char* R[] = {"", "20", "28", "33", "37", "40", "43", "45", "47", "48", "50"};
    for (int k = 1; k < 11; ++k) setArch(m, k, 1000 + 25 * k, "0", L[k], R[k]);
    m.Ec = {3.5, 24.13};
    m.Nuc = {0.2, 0.2};
    m.Thec = {5.6, 10.08};
    m.Wc = {150, 2403};
    m.Er = {2.0, 13.79};
    m.Nur = {0.25, 0.25};
    m.Rwe = {1245, 379.5};
    m.Twe = {1040, 317};
    m.GroutIndex = 0;
    m.ThUni = true;
    for (int k = 0; k < 11; ++k) m.TempTab(0, 1, k) = "-10";
    commitLayout(m);
    return m;
}

} // namespace velta::test

namespace velta::test {

// A double-curvature dam whose lines of centres lie inside the axis circle
// (upstream line of centres 80 to 20 ft from it): the abutment angles at the
// general axis centre differ from those at the arches' own centres, and the
// crest's (52.2 degrees at its centre, 50.3888 at the axis centre) rounds up,
// a hair beyond the arch's exact abutment.
inline CaseModel caseDoubleCurvature()
{
    CaseModel m = caseT1();
    m.DamName[0] = "Double-curvature test dam";
    straightFace(m, kUpstreamFace, {{1000, 15}, {1120, 0}, {1200, 0}});
    straightFace(m, kDownstreamFace, {{1000, 55}, {1120, 22}, {1200, 12}});
    straightFace(m, kUpstreamLoC, {{1000, 420}, {1200, 480}});
    straightFace(m, kDownstreamLoC, {{1000, 405}, {1200, 475}});
    setArch(m, 1, 1050, "0", "32", "32");
    setArch(m, 2, 1100, "0", "42", "42");
    setArch(m, 3, 1150, "0", "48", "48");
    setArch(m, 4, 1200, "0", "52.2", "52.2");
    m.Er = {2.0, 13.79};
    m.Rwe = {1195, 364.24};
    m.Wc = {150, 2403};
    commitLayout(m);
    return m;
}

} // namespace velta::test

#include <filesystem>
#include <fstream>
#include <sstream>

#include "forms/DeckReader.h"
#include "model/Messages.h"
#include "app/shell/Session.h"

namespace velta::test {

// The folder of the shared 3D reference results (beside the source tree,
// or beside the folder of worktrees); empty when it is not there.
inline std::string referenceDir()
{
    for (const char* rel : {"/../shared/reference", "/../../shared/reference"}) {
        const std::string d = std::string(VELTA_SOURCE_DIR) + rel;
        if (std::filesystem::exists(d + "/T1.dat")) return d;
    }
    return {};
}

// A deck read by the program's own reader, as the engine reads it.
inline CaseModel readDeck(const std::string& path)
{
    ListSink sink;
    FixedPrompter prompter{std::string()};
    Session session(sink, prompter);
    bool accepted = true;
    LectureDonnees(session, accepted, path);
    if (!accepted || !session.main.caseValidated()) throw std::runtime_error("deck refused: " + path);
    return session.model;
}

// Rows of a comma-separated file after its header.
inline std::vector<std::vector<double>> readCsv(const std::string& path)
{
    std::ifstream in(path);
    std::vector<std::vector<double>> rows;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::vector<double> row;
        std::stringstream ss(line);
        std::string cell;
        while (std::getline(ss, cell, ',')) row.push_back(std::stod(cell));
        if (!row.empty()) rows.push_back(row);
    }
    return rows;
}

} // namespace velta::test
