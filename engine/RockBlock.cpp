#include "engine/RockBlock.h"

#include <cmath>
#include <map>

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

RockBlock meshRockBlock(const DamMesh& dam, double depth, int layers)
{
    using namespace contact;
    const std::vector<Vec3>& X = dam.model.nodes;
    const int nDam = int(X.size());
    RockBlock b;
    b.depth = depth;

    // The contact's faces, each with its nodes ordered so that its
    // right-hand normal points away from the dam, i.e. into the rock.
    struct Quad {
        std::array<int, 8> n;
        Side side;
        double z;
    };
    std::vector<Quad> quads;
    std::map<int, Vec3> normal; // summed unit normals at each contact node
    for (const FoundationFace& f : dam.foundation) {
        const int nT = (int(f.nodes[0].size()) - 1) / 2;
        for (int l = 0; l < nT; ++l) {
            Quad q;
            q.side = f.side;
            q.z = 0;
            for (int i = 0; i < 8; ++i) {
                q.n[i] = f.nodes[kAlong[i]][2 * l + kAcross[i]];
                if (i < 4) q.z += 0.25 * X[q.n[i]].z();
            }
            // Which way is out of the dam: from the element's centroid to
            // the face's centre.
            const solid::Element& el = dam.model.elements[f.elements[l]];
            Vec3 inside = Vec3::Zero();
            const int ne = solid::nodeCount(el.type);
            for (int i = 0; i < ne; ++i) inside += X[el.nodes[i]] / ne;
            double N[8], dx[8], dy[8];
            quad8(0, 0, N, dx, dy);
            Vec3 c = Vec3::Zero(), tx = Vec3::Zero(), ty = Vec3::Zero();
            for (int i = 0; i < 8; ++i) {
                c += N[i] * X[q.n[i]];
                tx += dx[i] * X[q.n[i]];
                ty += dy[i] * X[q.n[i]];
            }
            if (tx.cross(ty).dot(c - inside) < 0) q.n = {q.n[0], q.n[3], q.n[2], q.n[1], q.n[7], q.n[6], q.n[5], q.n[4]};
            // The face's unit normal at each of its nodes.
            for (int k = 0; k < 8; ++k) {
                quad8(kXi[k], kEta[k], N, dx, dy);
                Vec3 a = Vec3::Zero(), e = Vec3::Zero();
                for (int i = 0; i < 8; ++i) {
                    a += dx[i] * X[q.n[i]];
                    e += dy[i] * X[q.n[i]];
                }
                auto it = normal.try_emplace(q.n[k], Vec3::Zero()).first;
                it->second += a.cross(e).normalized();
            }
            quads.push_back(q);
        }
    }
    for (auto& [n, v] : normal) {
        v.normalize();
        b.contactNodes.push_back(n);
    }

    // Depths of the layer boundaries (k even) and of the layers' middles
    // (k odd): each layer twice as deep as the one above.
    std::vector<double> d(2 * layers + 1);
    const double unit = depth / (std::pow(2.0, layers) - 1);
    for (int j = 0; j <= layers; ++j) d[2 * j] = unit * (std::pow(2.0, j) - 1);
    for (int j = 0; j < layers; ++j) d[2 * j + 1] = 0.5 * (d[2 * j] + d[2 * j + 2]);

    std::map<std::pair<int, int>, int> index;
    auto node = [&](int s, int k) {
        if (k == 0) return s;
        auto [it, added] = index.try_emplace({s, k}, nDam + int(b.nodes.size()));
        if (added) {
            b.nodes.push_back(X[s] + d[k] * normal.at(s));
            if (k == 2 * layers) b.farNodes.push_back(it->second);
        }
        return it->second;
    };
    for (const Quad& q : quads)
        for (int j = 0; j < layers; ++j) {
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
