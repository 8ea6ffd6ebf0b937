#pragma once
// The rock as a meshed elastic block: a layer of rock of finite depth under
// the dam's contact, made by extruding every face of the contact along the
// contact's normal (away from the dam) in layers that grow with depth, and
// held on its far face. Its nodes on the contact are the dam's own.
#include <array>
#include <vector>

#include "engine/DamMesh.h"
#include "engine/solid/Model.h"

namespace velta::engine {

// Depth of the block, in dam heights, and its layers (each twice as deep
// as the one above it).
constexpr double kRockBlockDepth = 1.0;
constexpr int kRockBlockLayers = 4;

struct RockBlock {
    std::vector<solid::Vec3> nodes;       // numbered after the dam's nodes
    std::vector<solid::Element> elements; // Hex20, contact nodes are the dam's
    std::vector<double> elementZ;         // mean elevation of each element's contact face
    std::vector<Side> elementSide;        // the abutment of each element's contact face
    std::vector<int> farNodes;            // nodes of the far face (held)
    std::vector<int> contactNodes;        // the dam's nodes the block shares
    double depth = 0;                     // ft
};

// The block under the whole contact of a dam mesh, `depth` feet deep.
RockBlock meshRockBlock(const DamMesh& dam, double depth, int layers = kRockBlockLayers);

// The 8-node quadrilateral of one thickness division of a contact strip:
// natural coordinates (along, across) and lattice positions of its nodes in
// FoundationFace::nodes ([along][2 * division + across]), corners first.
namespace contact {
inline constexpr double kXi[8] = {-1, 1, 1, -1, 0, 1, 0, -1};
inline constexpr double kEta[8] = {-1, -1, 1, 1, -1, 0, 1, 0};
inline constexpr int kAlong[8] = {0, 2, 2, 0, 1, 2, 1, 0};
inline constexpr int kAcross[8] = {0, 0, 2, 2, 0, 1, 2, 1};
// Serendipity shape functions of the quadrilateral and their derivatives.
void quad8(double xi, double eta, double N[8], double dxi[8], double deta[8]);
} // namespace contact

} // namespace velta::engine
