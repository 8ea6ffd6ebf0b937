#pragma once
// A small one-centred dam built directly in the case model, with results
// for every view, for the drawing tests.
#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "graphics/Canvas.h"
#include "app/shell/Session.h"

namespace velta::test {

struct DamFixture {
    ListSink sink;
    FixedPrompter prompter;
    Session s{sink, prompter};

    // Top 100 ft, base 0 ft, radius 200 ft; a vertical upstream face at
    // abscissa 0, a downstream face from 30 (base) to 10 (crest); lines of
    // centres at 200. Arches at 0 (code 1), 50 (code 0, 30 degrees each
    // side) and 100 (code 0, 45 degrees). Slots 18..22.
    DamFixture()
    {
        CaseModel& m = s.model;
        m.NbCenter = 1;
        s.geo.NbCenterEdit = 1;
        m.TopElev = {100, 30.48};
        m.BaseElev = {0, 0};
        m.Radius = m.RadiusR = {200, 60.96};
        setFace(kUpstreamFace, {{0, 0}, {100, 0}});
        setFace(kDownstreamFace, {{0, 30}, {100, 10}});
        setFace(kUpstreamLoC, {{0, 200}, {100, 200}});
        setFace(kDownstreamLoC, {{0, 200}, {100, 200}});
        m.FaceTab[kRightUpstreamLoC] = m.FaceTab[kUpstreamLoC];
        m.FaceTab[kRightDownstreamLoC] = m.FaceTab[kDownstreamLoC];
        m.FaceRows[kRightUpstreamLoC] = m.FaceRows[kRightDownstreamLoC] = 1;
        m.NbArcs = 3;
        setArc(0, "0", "15.24", "1", "", "");
        setArc(1, "50", "30.48", "0", "30", "30");
        setArc(2, "100", "60.96", "0", "45", "45");
        m.ConsAngle.fill(0);
        m.ConsBaseElev.fill(kNoElevation);
        const double angle[] = {45, 30, 0, -30, -45};
        const double base[] = {100, 50, 0, 50, 100};
        for (int k = 0; k < 5; ++k) {
            m.ConsAngle[18 + k] = angle[k];
            m.ConsBaseElev[18 + k] = base[k];
        }
        m.FirstCons = 18;
        m.LastCons = 22;
        m.Rwe = {90, 27.432};
        m.Twe = {20, 6.096};
        s.main.GeometrieMenu = true;
        s.results.reset();
    }

    void setFace(int t, const std::vector<std::pair<double, double>>& rows)
    {
        CaseModel& m = s.model;
        for (int u = 0; u < 2; ++u)
            for (int c = 0; c < kTabColumns; ++c)
                for (int r = 0; r < kTabRows; ++r) m.FaceTab[t](u, c, r).clear();
        for (size_t r = 0; r < rows.size(); ++r) {
            for (int u = 0; u < 2; ++u) {
                const double f = u == 0 ? 1 : 0.3048;
                m.FaceTab[t](u, kColElevation, r) = num(rows[r].first * f);
                m.FaceTab[t](u, kColAbscissa, r) = num(rows[r].second * f);
                if (r > 0) {
                    const double slope =
                        (rows[r].second - rows[r - 1].second) / (rows[r].first - rows[r - 1].first);
                    m.FaceTab[t](u, kColSlope, r) = num(slope);
                }
            }
        }
        m.FaceRows[t] = static_cast<int>(rows.size()) - 1;
    }

    void setArc(int row, const std::string& elev, const std::string& elevSI, const std::string& code,
                const std::string& phiL, const std::string& phiR)
    {
        for (int u = 0; u < 2; ++u) {
            s.model.ArcTab(u, kArcElevation, row) = u == 0 ? elev : elevSI;
            s.model.ArcTab(u, kArcCode, row) = code;
            s.model.ArcTab(u, kArcPhiL, row) = phiL;
            s.model.ArcTab(u, kArcPhiR, row) = phiR;
        }
    }

    static std::string num(double v)
    {
        std::ostringstream o;
        o << v;
        return o.str();
    }

    // One deflection / stress / load point per arch level for every slot
    // that reaches it, in both layers.
    void addResults()
    {
        ResultsModel& r = s.results;
        for (int i = 18; i <= 22; ++i) {
            const double base = s.model.ConsBaseElev[i];
            int k = 0;
            for (double z : {0.0, 50.0, 100.0}) {
                if (z < base) continue;
                r.ResDeflElev[0][i][k] = z;
                r.ResDeflElev[1][i][k] = z * 0.3048;
                r.ResDeflection[0][i][k] = -0.01 * (k + 1);
                r.ResDeflection[1][i][k] = r.ResDeflection[0][i][k] * 0.3048;
                r.ResConsLoad[0][i][k] = -1.0;
                r.ResConsLoad[1][i][k] = -47880.26;
                r.ResStressElev[0][i][k] = z;
                r.ResStressElev[1][i][k] = z * 0.3048;
                r.ResPrin1Down[0][i][k] = -100 * (k + 1);
                r.ResPrin2Down[0][i][k] = 50;
                r.ResPrin1Up[0][i][k] = -200;
                r.ResPrin2Up[0][i][k] = 25 * (k + 1);
                r.ResAngleDown[0][i][k] = 30;
                r.ResAngleUp[0][i][k] = 10;
                for (auto* a : {&r.ResPrin1Down, &r.ResPrin2Down, &r.ResPrin1Up, &r.ResPrin2Up})
                    (*a)[1][i][k] = (*a)[0][i][k] / 145.038;
                ++k;
            }
            r.ResDeflCount[i] = r.ResStressCount[i] = k;
            r.ResAbutForce[0][i][0] = r.ResAbutForce[0][i][2] = 100000;
            r.ResAbutForce[0][i][1] = r.ResAbutForce[0][i][3] = 30;
            r.ResAbutForce[1][i][0] = r.ResAbutForce[1][i][2] = 100000 * 0.4535924 * 9.81;
            r.ResAbutForce[1][i][1] = r.ResAbutForce[1][i][3] = 30;
            // Cantilever sections of the inner slots.
            int g = 0;
            for (double z : {0.0, 50.0, 100.0}) {
                if (z < base) continue;
                r.ResConsGeom[0][i][g] = z;
                r.ResConsGeom[1][i][g] = 0;
                r.ResConsGeom[2][i][g] = 30 - 0.2 * z;
                r.ResConsGeom[3][i][g] = std::abs(s.model.ConsAngle[i]);
                ++g;
            }
            r.ResConsGeomCount[i] = g;
        }
        // Planes of centres: one centre at the axis, extrados radius 200.
        for (int k = 0; k < 3; ++k) {
            const double z = k * 50.0;
            for (auto* pc : {&r.ResCentresLeft, &r.ResCentresRight}) {
                (*pc)[0][k] = z;
                (*pc)[1][k] = 0;
                (*pc)[2][k] = 0;
                (*pc)[3][k] = 200;
                (*pc)[4][k] = 200 - (30 - 0.2 * z);
            }
        }
    }
};

// The operations of a log that start with `prefix`.
inline std::vector<std::string> opsStarting(const std::vector<std::string>& ops, const std::string& prefix)
{
    std::vector<std::string> out;
    for (const auto& op : ops)
        if (op.rfind(prefix, 0) == 0) out.push_back(op);
    return out;
}

inline bool hasOp(const std::vector<std::string>& ops, const std::string& op)
{
    return std::find(ops.begin(), ops.end(), op) != ops.end();
}

} // namespace velta::test
