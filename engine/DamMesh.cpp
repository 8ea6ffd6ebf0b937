#include "engine/DamMesh.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/Numbers.h"

namespace velta::engine {

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

struct Knot {
    double z, phi, A; // A magnitude, the slot's rounded angle at the arches
};

std::vector<Knot> knots(const DamGeometry& g, Side s)
{
    std::vector<Knot> k{{g.base, 0, 0}};
    for (size_t i = 1; i < g.arches.size(); ++i)
        if (g.arches[i].has[s]) k.push_back({g.arches[i].z, g.arches[i].phi[s], g.arches[i].A[s]});
    if (k.size() < 2)
        throw EngineError(std::string("no arch has a ") + (s == kLeft ? "left" : "right") + " abutment angle");
    if (k.back().z < g.top) {
        // Above the highest given angle the abutment keeps its Phi.
        const double phi = k.back().phi;
        double A = PhitoA(phi, g.radius[s] - g.upCentre(s, g.top), g.radius[s]);
        k.push_back({g.top, phi, std::max(A, k.back().A)});
    }
    return k;
}

int bandOf(const std::vector<Knot>& k, double z)
{
    int b = 0;
    while (b + 2 < int(k.size()) && k[b + 1].z <= z + 1e-9) ++b;
    return b;
}

double exactA(const DamGeometry& g, Side s, double phi, double z)
{
    if (phi <= 0) return 0;
    try {
        return PhitoA(phi, g.radius[s] - g.upCentre(s, z), g.radius[s]);
    } catch (const std::exception&) {
        throw EngineError("the abutment at " + formatGeneral(z) + " ft does not reach the axis circle");
    }
}

double knotPhi(const std::vector<Knot>& k, int b, double z)
{
    const double f = std::clamp((z - k[b].z) / (k[b + 1].z - k[b].z), 0.0, 1.0);
    return k[b].phi + f * (k[b + 1].phi - k[b].phi);
}

// Magnitude of A on the abutment at z within band b: the ray at the
// interpolated Phi, shifted linearly so that it passes through the slots'
// rounded angles at the arches.
double knotA(const DamGeometry& g, Side s, const std::vector<Knot>& k, int b, double z)
{
    if (z <= k[b].z + 1e-9) return k[b].A;
    if (z >= k[b + 1].z - 1e-9) return k[b + 1].A;
    const double f = (z - k[b].z) / (k[b + 1].z - k[b].z);
    const double c0 = k[b].A - exactA(g, s, k[b].phi, k[b].z);
    const double c1 = k[b + 1].A - exactA(g, s, k[b + 1].phi, k[b + 1].z);
    return exactA(g, s, knotPhi(k, b, z), z) + c0 + f * (c1 - c0);
}

} // namespace

MeshLevel meshLevel(int level)
{
    if (level < 1 || level > kMaxLevel)
        throw EngineError("the refinement level must lie between 1 and " + std::to_string(kMaxLevel));
    MeshLevel l;
    l.level = level;
    // The default level has a third more elements along the arch than the
    // rule 12 per level: with 12, the crown's hoop stress on the lowest
    // arches of a narrow valley (few columns reach them) was 2 % off the
    // finer levels' value; 16 halves that. More elements through the
    // thickness do not help there, and more layers over the height little.
    l.perHalfArch = level == 1 ? 16 : 12 * level;
    l.heightLayers = 16 * level;
    l.thickness = 3 * level;
    return l;
}

double abutmentPhi(const DamGeometry& g, Side s, double z)
{
    const auto k = knots(g, s);
    return knotPhi(k, bandOf(k, z), z);
}

double abutmentA(const DamGeometry& g, Side s, double z)
{
    const auto k = knots(g, s);
    const double A = knotA(g, s, k, bandOf(k, z), z);
    return s == kLeft ? -A : A;
}

int DamMesh::nodeAt(double a, double z, int k) const
{
    const auto it = index.find({std::llround(z * 1e5), std::llround(a * 1e6), k});
    return it == index.end() ? -1 : it->second;
}

DamMesh meshDam(const DamGeometry& g, const DamCase& c, const MeshLevel& level)
{
    DamMesh m;
    m.level = level;
    const int nT = level.thickness;
    m.thicknessDivisions = nT;

    // Layer boundaries: the arch levels first, then the water levels, then
    // the face tables' rows unless they fall within a foot of another.
    std::vector<double> breaks;
    for (const ArchLevel& a : g.arches) breaks.push_back(a.z);
    auto add = [&](double z, double tol) {
        if (!(z > g.base + tol && z < g.top - tol)) return;
        for (double b : breaks)
            if (std::abs(b - z) <= tol) return;
        breaks.push_back(z);
    };
    add(c.reservoir, 1e-6);
    add(c.tailwater, 1e-6);
    for (double z : c.faceElevations) add(z, 1.0);
    std::sort(breaks.begin(), breaks.end());
    const double h = (g.top - g.base) / level.heightLayers;
    m.rows.push_back(breaks.front());
    for (size_t i = 0; i + 1 < breaks.size(); ++i) {
        const double dz = breaks[i + 1] - breaks[i];
        const int n = std::max(1, int(std::lround(dz / h)));
        for (int j = 1; j <= n; ++j) m.rows.push_back(j == n ? breaks[i + 1] : breaks[i] + dz * j / n);
    }

    // Columns of each side: the slots' angles, each interval between them
    // cut in proportion to its share of the crest's half arch.
    std::array<std::vector<Knot>, 2> kn{knots(g, kLeft), knots(g, kRight)};
    std::array<std::vector<double>, 2> B;
    std::array<std::vector<int>, 2> nsub;
    for (int s = 0; s < 2; ++s) {
        for (const Knot& k : kn[s])
            if (B[s].empty() || k.A > B[s].back() + 1e-9) B[s].push_back(k.A);
        const double total = B[s].back();
        if (!(total > 0))
            throw EngineError(std::string("the ") + (s == kLeft ? "left" : "right") + " abutment never leaves the crown");
        for (size_t j = 0; j + 1 < B[s].size(); ++j)
            nsub[s].push_back(
                std::max(1, int(std::lround(level.perHalfArch * (B[s][j + 1] - B[s][j]) / total))));
    }

    // Nodes are shared through their parameters.
    std::map<std::pair<long long, long long>, SectionPoint> sections;
    auto node = [&](double a, double z, int k) {
        const std::tuple<long long, long long, int> key{std::llround(z * 1e5), std::llround(a * 1e6), k};
        auto it = m.index.find(key);
        if (it != m.index.end()) return it->second;
        const std::pair<long long, long long> sk{std::get<0>(key), std::get<1>(key)};
        auto sit = sections.find(sk);
        if (sit == sections.end()) sit = sections.emplace(sk, g.sectionAtA(a, z)).first;
        const SectionPoint& p = sit->second;
        const double t = double(k) / (2 * nT);
        const int id = int(m.model.nodes.size());
        m.model.nodes.push_back(p.extrados + t * (p.intrados - p.extrados));
        m.param.push_back({a, z, t});
        m.index.emplace(key, id);
        return id;
    };

    const int nRows = int(m.rows.size()) - 1;
    for (int i = 0; i < nRows; ++i) {
        const double zr[3] = {m.rows[i], 0.5 * (m.rows[i] + m.rows[i + 1]), m.rows[i + 1]};
        for (int s = 0; s < 2; ++s) {
            const auto& k = kn[s];
            const int b = bandOf(k, zr[0]);
            int jLow = 0;
            while (jLow + 1 < int(B[s].size()) && B[s][jLow] < k[b].A - 1e-9) ++jLow;
            const bool fan = k[b + 1].A > k[b].A + 1e-9;
            const int intervals = jLow + (fan ? 1 : 0);
            int cols = 0;
            for (int j = 0; j < intervals; ++j) cols += nsub[s][j];
            if (cols == 0) continue;
            const double sign = s == kLeft ? -1 : 1;
            // Signed angle of half-column hc at half-row r.
            auto angle = [&](int hc, int r) {
                for (int j = 0; j < intervals; ++j) {
                    if (hc <= 2 * nsub[s][j]) {
                        const double right = (fan && j == jLow) ? knotA(g, Side(s), k, b, zr[r]) : B[s][j + 1];
                        const double f = double(hc) / (2 * nsub[s][j]);
                        return sign * (B[s][j] + f * (right - B[s][j]));
                    }
                    hc -= 2 * nsub[s][j];
                }
                return sign * B[s][intervals];
            };
            FoundationFace ff;
            ff.side = Side(s);
            for (int e = 0; e < cols; ++e) {
                // cA on the lower-angle side so that (column, row, toward
                // upstream) is right-handed.
                const int cA = s == kLeft ? 2 * e + 2 : 2 * e, cB = s == kLeft ? 2 * e : 2 * e + 2,
                          cM = 2 * e + 1;
                for (int l = 0; l < nT; ++l) {
                    const int tHi = 2 * l + 2, tMid = 2 * l + 1, tLo = 2 * l; // tHi downstream
                    auto N = [&](int hc, int r, int tk) { return node(angle(hc, r), zr[r], tk); };
                    solid::Element el;
                    const bool wedge = N(cA, 0, tHi) == N(cB, 0, tHi);
                    if (wedge) {
                        el.type = solid::ElementType::Wedge15;
                        const int v[15] = {N(cA, 0, tHi), N(cB, 2, tHi),  N(cA, 2, tHi),  N(cA, 0, tLo),
                                           N(cB, 2, tLo), N(cA, 2, tLo),  N(cB, 1, tHi),  N(cM, 2, tHi),
                                           N(cA, 1, tHi), N(cB, 1, tLo),  N(cM, 2, tLo),  N(cA, 1, tLo),
                                           N(cA, 0, tMid), N(cB, 2, tMid), N(cA, 2, tMid)};
                        std::copy(v, v + 15, el.nodes.begin());
                        ++m.wedges;
                    } else {
                        el.type = solid::ElementType::Hex20;
                        const int v[20] = {N(cA, 0, tHi),  N(cB, 0, tHi),  N(cB, 2, tHi),  N(cA, 2, tHi),
                                           N(cA, 0, tLo),  N(cB, 0, tLo),  N(cB, 2, tLo),  N(cA, 2, tLo),
                                           N(cM, 0, tHi),  N(cB, 1, tHi),  N(cM, 2, tHi),  N(cA, 1, tHi),
                                           N(cM, 0, tLo),  N(cB, 1, tLo),  N(cM, 2, tLo),  N(cA, 1, tLo),
                                           N(cA, 0, tMid), N(cB, 0, tMid), N(cB, 2, tMid), N(cA, 2, tMid)};
                        std::copy(v, v + 20, el.nodes.begin());
                    }
                    const double aC = angle(cM, 1);
                    const double beta = g.betaOfA(aC, zr[1]) * kDeg;
                    el.hoop = solid::Vec3(std::cos(beta), std::sin(beta), 0);
                    const int id = int(m.model.elements.size());
                    m.model.elements.push_back(el);
                    m.elementLayer.push_back(i);
                    const auto& n = el.nodes;
                    if (l == 0)
                        m.upstream.push_back(
                            {wedge ? solid::Face{{n[3], n[4], n[5], n[9], n[10], n[11]}}
                                   : solid::Face{{n[4], n[5], n[6], n[7], n[12], n[13], n[14], n[15]}},
                             id});
                    if (l == nT - 1)
                        m.downstream.push_back(
                            {wedge ? solid::Face{{n[0], n[2], n[1], n[8], n[7], n[6]}}
                                   : solid::Face{{n[0], n[3], n[2], n[1], n[11], n[10], n[9], n[8]}},
                             id});
                    if (e == cols - 1) {
                        const int cOut = 2 * e + 2;
                        ff.elements.push_back(id);
                        for (int r = 0; r < 3; ++r) {
                            auto& row = ff.nodes[r];
                            row.resize(2 * nT + 1, -1);
                            for (int tk : {tLo, tMid, tHi})
                                if (r != 1 || tk != tMid) row[tk] = N(cOut, r, tk);
                        }
                    }
                }
            }
            m.foundation.push_back(ff);
        }
    }
    return m;
}

} // namespace velta::engine
