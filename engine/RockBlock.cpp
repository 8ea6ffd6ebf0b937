#include "engine/RockBlock.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <set>

namespace velta::engine {

using solid::Vec3;

void contact::quad8(double x, double y, double N[8], double dx[8], double dy[8])
{
    for (int i = 0; i < 4; ++i) {
        const double xi = kXi[i], yi = kEta[i];
        N[i] = 0.25 * (1 + x * xi) * (1 + y * yi) * (x * xi + y * yi - 1);
        dx[i] = 0.25 * xi * (1 + y * yi) * (2 * x * xi + y * yi);
        dy[i] = 0.25 * yi * (1 + x * xi) * (x * xi + 2 * y * yi);
    }
    for (int i = 4; i < 8; ++i) {
        const double xi = kXi[i], yi = kEta[i];
        if (xi == 0) {
            N[i] = 0.5 * (1 - x * x) * (1 + y * yi);
            dx[i] = -x * (1 + y * yi);
            dy[i] = 0.5 * (1 - x * x) * yi;
        } else {
            N[i] = 0.5 * (1 + x * xi) * (1 - y * y);
            dx[i] = 0.5 * xi * (1 - y * y);
            dy[i] = -(1 + x * xi) * y;
        }
    }
}

RockBlock meshRockBlock(const DamMesh& dam, double depth, double reach, double firstLayer, int layers)
{
    using namespace contact;
    const std::vector<Vec3>& X = dam.model.nodes;
    const int nDam = int(X.size());
    RockBlock b;
    b.depth = depth;
    b.reach = reach;
    auto position = [&](int s) { return s < nDam ? X[s] : b.nodes[s - nDam]; };

    // Widths and depths of the graded layers, each `growth` times the one
    // before; the odd entries are the layers' middles. The reach has
    // `layers` layers, each twice the one before; the depth as many as keep
    // its first one about `firstLayer` thick (at least `layers`).
    auto graded = [&](double total, int count, double growth) {
        std::vector<double> d(2 * count + 1);
        const double unit = total * (growth - 1) / (std::pow(growth, count) - 1);
        for (int j = 0; j <= count; ++j) d[2 * j] = unit * (std::pow(growth, j) - 1) / (growth - 1);
        d[2 * count] = total;
        for (int j = 0; j < count; ++j) d[2 * j + 1] = 0.5 * (d[2 * j] + d[2 * j + 2]);
        return d;
    };
    const double growth = kRockBlockGrowth;
    const int deep = firstLayer > 0
                         ? std::max(layers, int(std::lround(std::log(1 + (growth - 1) * depth / firstLayer) /
                                                            std::log(growth))))
                         : layers;
    const std::vector<double> across = graded(reach, layers, 2.0), down = graded(depth, deep, growth);
    b.layers = deep;

    // The contact's upstream and downstream edges: the direction in which
    // the contact surface leaves each edge node (across the thickness,
    // outward), from the faces at the node.
    struct Strip {
        const FoundationFace* f;
        bool flip; // the lattice order's normal points into the dam
    };
    std::vector<Strip> strips;
    std::map<int, Vec3> edgeDir;
    for (const FoundationFace& f : dam.foundation) {
        const int nT = (int(f.nodes[0].size()) - 1) / 2;
        Strip st{&f, false};
        for (int l = 0; l < nT; ++l) {
            std::array<int, 8> n;
            for (int i = 0; i < 8; ++i) n[i] = f.nodes[kAlong[i]][2 * l + kAcross[i]];
            double N[8], dx[8], dy[8];
            if (l == 0) {
                // Which way is out of the dam: from the element's centroid
                // to the face's centre.
                const solid::Element& el = dam.model.elements[f.elements[l]];
                Vec3 inside = Vec3::Zero();
                const int ne = solid::nodeCount(el.type);
                for (int i = 0; i < ne; ++i) inside += X[el.nodes[i]] / ne;
                quad8(0, 0, N, dx, dy);
                Vec3 c = Vec3::Zero(), tx = Vec3::Zero(), ty = Vec3::Zero();
                for (int i = 0; i < 8; ++i) {
                    c += N[i] * X[n[i]];
                    tx += dx[i] * X[n[i]];
                    ty += dy[i] * X[n[i]];
                }
                st.flip = tx.cross(ty).dot(c - inside) < 0;
            }
            for (int k = 0; k < 8; ++k) {
                const bool up = l == 0 && kEta[k] == -1, dn = l == nT - 1 && kEta[k] == 1;
                if (!up && !dn) continue;
                quad8(kXi[k], kEta[k], N, dx, dy);
                Vec3 t = Vec3::Zero();
                for (int i = 0; i < 8; ++i) t += dy[i] * X[n[i]];
                edgeDir.try_emplace(n[k], Vec3::Zero()).first->second += (up ? -1.0 : 1.0) * t.normalized();
            }
        }
        strips.push_back(st);
    }
    // The rock's surface beyond the edges, continuing the contact.
    std::map<std::pair<int, int>, int> ext;
    std::set<int> ends;
    auto surface = [&](const FoundationFace& f, int r, int c) {
        const int last = int(f.nodes[r].size()) - 1;
        if (c >= 0 && c <= last) return f.nodes[r][c];
        const int edge = c < 0 ? f.nodes[r][0] : f.nodes[r][last], j = c < 0 ? -c : c - last;
        auto [it, added] = ext.try_emplace({edge, j}, nDam + int(b.nodes.size()));
        if (added) {
            b.nodes.push_back(X[edge] + across[j] * edgeDir.at(edge).normalized());
            if (j == 2 * layers) ends.insert(it->second);
        }
        return it->second;
    };

    // Every face of the rock's surface under the block (the contact and its
    // continuation), each with its nodes ordered so that its right-hand
    // normal points away from the dam, i.e. into the rock.
    struct Quad {
        std::array<int, 8> n;
        Side side;
        double z;
    };
    std::vector<Quad> quads;
    std::map<int, Vec3> normal; // summed unit normals at each surface node
    for (const Strip& st : strips) {
        const FoundationFace& f = *st.f;
        const int nT = (int(f.nodes[0].size()) - 1) / 2;
        for (int l = -layers; l < nT + layers; ++l) {
            Quad q;
            q.side = f.side;
            q.z = 0;
            for (int i = 0; i < 8; ++i) {
                q.n[i] = surface(f, kAlong[i], 2 * l + kAcross[i]);
                if (i < 4) q.z += 0.25 * position(q.n[i]).z();
            }
            if (st.flip) q.n = {q.n[0], q.n[3], q.n[2], q.n[1], q.n[7], q.n[6], q.n[5], q.n[4]};
            double N[8], dx[8], dy[8];
            for (int k = 0; k < 8; ++k) {
                quad8(kXi[k], kEta[k], N, dx, dy);
                Vec3 a = Vec3::Zero(), e = Vec3::Zero();
                for (int i = 0; i < 8; ++i) {
                    a += dx[i] * position(q.n[i]);
                    e += dy[i] * position(q.n[i]);
                }
                normal.try_emplace(q.n[k], Vec3::Zero()).first->second += a.cross(e).normalized();
            }
            quads.push_back(q);
        }
    }
    for (auto& [n, v] : normal) {
        v.normalize();
        if (n < nDam) b.contactNodes.push_back(n);
    }
    for (int e : ends) b.farNodes.push_back(e);

    // The surface's corner nodes, compactly numbered, their neighbours (the
    // other corners of their faces), and the two corners of each mid-edge
    // node.
    std::map<int, int> cornerIndex;
    std::vector<int> corners;
    for (const Quad& q : quads)
        for (int i = 0; i < 4; ++i)
            if (cornerIndex.try_emplace(q.n[i], int(corners.size())).second) corners.push_back(q.n[i]);
    std::vector<std::set<int>> around(corners.size());
    std::map<int, std::pair<int, int>> midCorners;
    for (const Quad& q : quads)
        for (int i = 0; i < 4; ++i) {
            const int a = cornerIndex.at(q.n[i]), c = cornerIndex.at(q.n[(i + 1) % 4]);
            for (int k = 0; k < 4; ++k)
                if (k != i) around[a].insert(cornerIndex.at(q.n[k]));
            midCorners[q.n[4 + i]] = {a, c};
        }

    // Each layer is extruded from the one above along directions given at
    // the corners and smoothed over the surface more and more with depth
    // (each corner's mean with its face neighbours, more passes the deeper
    // the layer):
    // next to the dam the layers follow the contact's normal; deeper down
    // the directions of neighbouring nodes turn less against each other, so
    // that layers of growing thickness under a surface that bends toward the
    // rock do not cross. A mid-edge node moves along the mean of its two
    // corners' directions, so that it stays midway between them where the
    // surface has a kink (the foot of a V valley, where the corners take the
    // mean of both sides' normals).
    std::vector<std::vector<Vec3>> direction(deep, std::vector<Vec3>(corners.size()));
    for (size_t i = 0; i < corners.size(); ++i) direction[0][i] = normal.at(corners[i]);
    // Passes up to layer j: the square of the depth of its top, plus one
    // first layer, in first layers' thicknesses, less one (4^j - 1 when
    // each layer is twice the one before), so that a direction is spread
    // over about as many faces as the layer lies deep.
    std::vector<int> passes(deep);
    for (int j = 0; j < deep; ++j) passes[j] = int(std::lround(std::pow((down[2 * j] + down[2]) / down[2], 2))) - 1;
    for (int j = 1; j < deep; ++j) {
        std::vector<Vec3> v = direction[j - 1], next(v.size());
        for (int p = passes[j] - passes[j - 1]; p > 0; --p) {
            for (size_t i = 0; i < v.size(); ++i) {
                Vec3 sum = v[i];
                for (int k : around[i]) sum += v[k];
                next[i] = sum.normalized();
            }
            v.swap(next);
        }
        direction[j] = v;
    }
    auto directionAt = [&](int j, int s) -> Vec3 {
        const auto c = cornerIndex.find(s);
        if (c != cornerIndex.end()) return direction[j][c->second];
        const auto [a, e] = midCorners.at(s);
        return (direction[j][a] + direction[j][e]).normalized();
    };

    // Surface node s at depth index k (even: layer boundaries, odd: the
    // middles of the layers' edges).
    std::map<std::pair<int, int>, int> index;
    std::function<Vec3(int, int)> at = [&](int s, int k) -> Vec3 {
        if (k == 0) return position(s);
        const int j = (k - 1) / 2;
        return at(s, 2 * j) + (down[k] - down[2 * j]) * directionAt(j, s);
    };
    auto node = [&](int s, int k) {
        if (k == 0) return s;
        auto [it, added] = index.try_emplace({s, k}, nDam + int(b.nodes.size()));
        if (added) {
            b.nodes.push_back(at(s, k));
            if (k == 2 * deep || ends.count(s)) b.farNodes.push_back(it->second);
        }
        return it->second;
    };
    for (const Quad& q : quads)
        for (int j = 0; j < deep; ++j) {
            const int k0 = 2 * j, km = 2 * j + 1, k1 = 2 * j + 2;
            solid::Element el;
            el.type = solid::ElementType::Hex20;
            for (int i = 0; i < 4; ++i) {
                el.nodes[i] = node(q.n[i], k0);
                el.nodes[4 + i] = node(q.n[i], k1);
                el.nodes[8 + i] = node(q.n[4 + i], k0);
                el.nodes[12 + i] = node(q.n[4 + i], k1);
                el.nodes[16 + i] = node(q.n[i], km);
            }
            b.elements.push_back(el);
            b.elementZ.push_back(q.z);
            b.elementSide.push_back(q.side);
        }
    return b;
}

} // namespace velta::engine
