#include "engine/Mesh.h"

#include <algorithm>
#include <cmath>

#include "model/Numbers.h"

namespace velta::engine {

namespace {

constexpr double kDeg = 3.14159265358979323846 / 180.0;
// Angles closer than this (degrees) are one column: the rounding of the
// layout's angles to two decimals stays well inside it.
constexpr double kSnap = 0.02;

// Breakpoints with subdivisions no longer than `step(a, b)` allows.
template <class Step> std::vector<double> subdivide(std::vector<double> br, Step pieces)
{
    std::sort(br.begin(), br.end());
    br.erase(std::unique(br.begin(), br.end(), [](double x, double y) { return std::abs(x - y) < 1e-9; }),
             br.end());
    std::vector<double> out;
    for (size_t k = 0; k + 1 < br.size(); ++k) {
        const int n = std::max(1, pieces(br[k], br[k + 1]));
        for (int i = 0; i < n; ++i) out.push_back(br[k] + (br[k + 1] - br[k]) * i / n);
    }
    out.push_back(br.back());
    return out;
}

} // namespace

Mesh buildMesh(const DamGeometry& g, const CantileverLayout& layout, double size)
{
    Mesh mesh;
    // Rows: the arch levels and their subdivisions.
    std::vector<double> zs;
    for (const ArchLevel& a : g.arches) zs.push_back(a.z);
    mesh.rows = subdivide(zs, [&](double a, double b) { return int(std::ceil((b - a) / size - 1e-9)); });
    for (const ArchLevel& a : g.arches) {
        auto it = std::min_element(mesh.rows.begin(), mesh.rows.end(),
                                   [&](double x, double y) { return std::abs(x - a.z) < std::abs(y - a.z); });
        mesh.archRow.push_back(int(it - mesh.rows.begin()));
    }
    // Columns: the deck's cantilevers, the crest abutments and subdivisions
    // sized on the axis circle.
    // A crest abutment is a slot's angle (the geometry places it there); a
    // breakpoint within a hair of a slot would only make a sliver of a
    // column, so the slot stands for it.
    std::vector<double> as;
    for (int s = layout.first; s <= layout.last; ++s) as.push_back(layout.angle[s]);
    for (Side s : {kLeft, kRight}) {
        const double a = g.foundationA(s, g.top);
        if (std::none_of(as.begin(), as.end(), [&](double b) { return std::abs(a - b) < kSnap; }))
            as.push_back(a);
    }
    mesh.cols = subdivide(as, [&](double a, double b) {
        const double r = g.sideRadius(0.5 * (a + b));
        return int(std::ceil(r * (b - a) * kDeg / size - 1e-9));
    });
    mesh.slotCol.fill(-1);
    for (int s = layout.first; s <= layout.last; ++s) {
        auto it = std::min_element(mesh.cols.begin(), mesh.cols.end(), [&](double x, double y) {
            return std::abs(x - layout.angle[s]) < std::abs(y - layout.angle[s]);
        });
        mesh.slotCol[s] = int(it - mesh.cols.begin());
    }
    // A deck node above its cantilever's foundation must stay where it is.
    auto isKept = [&](int col, int row) {
        const double z = mesh.rows[row];
        bool archRow = std::find(mesh.archRow.begin(), mesh.archRow.end(), row) != mesh.archRow.end();
        if (!archRow) return false;
        for (int s = layout.first; s <= layout.last; ++s)
            if (mesh.slotCol[s] == col && layout.baseElev[s] < z - 0.01) return true;
        return false;
    };

    const int nr = int(mesh.rows.size()), nc = int(mesh.cols.size());
    mesh.first.resize(nr);
    mesh.last.resize(nr);
    mesh.rowNode.resize(nr);
    std::vector<double> aL(nr), aR(nr);
    for (int j = 0; j < nr; ++j) {
        const double z = mesh.rows[j];
        aL[j] = g.foundationA(kLeft, z);
        aR[j] = g.foundationA(kRight, z);
        auto nearest = [&](double a) {
            int best = 0;
            for (int i = 1; i < nc; ++i)
                if (std::abs(mesh.cols[i] - a) < std::abs(mesh.cols[best] - a)) best = i;
            return best;
        };
        int iL = nearest(aL[j]), iR = nearest(aR[j]);
        if (iL != iR) {
            if (mesh.cols[iL] > aL[j] + 0.02 && isKept(iL, j) && iL > 0) --iL;
            if (mesh.cols[iR] < aR[j] - 0.02 && isKept(iR, j) && iR < nc - 1) ++iR;
        }
        mesh.first[j] = iL;
        mesh.last[j] = iR;
        for (int i = iL; i <= iR; ++i) {
            MeshNode n;
            n.z = z;
            n.a = iL == iR ? 0.5 * (aL[j] + aR[j]) : i == iL ? aL[j] : i == iR ? aR[j] : mesh.cols[i];
            n.foundation = i == iL || i == iR;
            n.sec = g.sectionAtA(n.a, z);
            mesh.rowNode[j].push_back(int(mesh.nodes.size()));
            mesh.nodes.push_back(n);
        }
        mesh.foundationPath[kLeft].push_back(mesh.rowNode[j].front());
        mesh.foundationPath[kRight].push_back(mesh.rowNode[j].back());
    }
    // Cells between consecutive rows: quadrilaterals where both rows have
    // the two columns, fans of triangles toward the foundation elsewhere.
    for (int j = 0; j + 1 < nr; ++j) {
        const int lo = std::max(mesh.first[j], mesh.first[j + 1]);
        const int hi = std::min(mesh.last[j], mesh.last[j + 1]);
        if (lo > hi)
            throw EngineError("the foundation line crosses itself between " + formatGeneral(mesh.rows[j]) +
                              " and " + formatGeneral(mesh.rows[j + 1]) + " ft");
        auto b = [&](int i) { return mesh.node(i, j); };
        auto t = [&](int i) { return mesh.node(i, j + 1); };
        auto tri = [&](int n0, int n1, int n2) {
            MeshElement e;
            e.n = {n0, n1, n2, n2};
            e.triangle = true;
            mesh.elements.push_back(e);
        };
        for (int i = lo; i < hi; ++i)
            mesh.elements.push_back(MeshElement{{b(i), b(i + 1), t(i + 1), t(i)}, false});
        // Left end.
        for (int i = mesh.first[j + 1]; i < lo; ++i) tri(b(lo), t(i + 1), t(i));
        for (int i = mesh.first[j]; i < lo; ++i) tri(b(i), b(i + 1), t(lo));
        // Right end.
        // Mirror image of the left fans, node for node, so that a symmetric
        // dam meets symmetric cells.
        for (int i = hi; i < mesh.last[j + 1]; ++i) tri(t(i), b(hi), t(i + 1));
        for (int i = hi; i < mesh.last[j]; ++i) tri(b(i), b(i + 1), t(hi));
    }
    return mesh;
}

} // namespace velta::engine
