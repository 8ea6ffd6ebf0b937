#pragma once
// Structured solid meshes for the element library's tests: a block of
// cells in (a, b, c) mapped by any function, as Hex20 elements or as two
// Wedge15 elements per cell (the cell's (a, b) square split along its
// diagonal). Nodes no element uses are dropped.
#include <functional>
#include <map>

#include "engine/solid/Fem.h"

namespace velta::test {

using engine::solid::ElementType;
using engine::solid::Model;
using engine::solid::Vec3;

struct BlockMesh {
    Model model;
    // Lattice point (i, j, k) in half-cell steps -> node, for the nodes kept.
    std::map<std::array<int, 3>, int> nodeAt;
    int nodeOf(int i, int j, int k) const { return nodeAt.at({i, j, k}); }
};

// Mass concrete of the element tests: E = 3 E6 psi in lb/ft2, nu = 0.2, a
// thermal expansion of 5 E-06 /degF.
inline engine::solid::Material concrete()
{
    engine::solid::Material m;
    m.E = 4.32e8;
    m.nu = 0.2;
    m.alpha = 5e-6;
    return m;
}

// The map receives lattice coordinates in cell units (0..na, 0..nb, 0..nc).
inline BlockMesh blockMesh(int na, int nb, int nc, const std::function<Vec3(double, double, double)>& map,
                           ElementType type, const engine::solid::Material& mat,
                           engine::solid::WedgeRule rule = engine::solid::WedgeRule::Points21)
{
    BlockMesh out;
    out.model.wedgeRule = rule;
    out.model.materials.push_back(mat);
    auto node = [&](int i, int j, int k) {
        auto [it, added] = out.nodeAt.try_emplace({i, j, k}, int(out.model.nodes.size()));
        if (added) out.model.nodes.push_back(map(0.5 * i, 0.5 * j, 0.5 * k));
        return it->second;
    };
    for (int c = 0; c < nc; ++c)
        for (int b = 0; b < nb; ++b)
            for (int a = 0; a < na; ++a) {
                if (type == ElementType::Hex20) {
                    engine::solid::Element el;
                    el.type = type;
                    for (int n = 0; n < 20; ++n) {
                        const Vec3 s = engine::solid::naturalOfNode(type, n);
                        el.nodes[n] = node(2 * a + int(s.x()) + 1, 2 * b + int(s.y()) + 1, 2 * c + int(s.z()) + 1);
                    }
                    out.model.elements.push_back(el);
                    continue;
                }
                const int tri[2][3][2] = {{{0, 0}, {2, 0}, {2, 2}}, {{0, 0}, {2, 2}, {0, 2}}};
                for (const auto& t : tri) {
                    engine::solid::Element el;
                    el.type = type;
                    for (int n = 0; n < 15; ++n) {
                        const Vec3 s = engine::solid::naturalOfNode(type, n);
                        const double i = t[0][0] + s.x() * (t[1][0] - t[0][0]) + s.y() * (t[2][0] - t[0][0]);
                        const double j = t[0][1] + s.x() * (t[1][1] - t[0][1]) + s.y() * (t[2][1] - t[0][1]);
                        el.nodes[n] = node(2 * a + int(i), 2 * b + int(j), 2 * c + int(s.z()) + 1);
                    }
                    out.model.elements.push_back(el);
                }
            }
    return out;
}

} // namespace velta::test
