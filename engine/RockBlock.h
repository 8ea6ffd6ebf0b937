#pragma once
// The rock as a meshed elastic block: a layer of rock of finite depth under
// the dam's contact. The contact surface is continued upstream and
// downstream beyond the dam's faces (the rock's surface there), and the
// whole is extruded along its normal (away from the dam), in layers that
// grow with the distance from the dam. The block is held on its far faces:
// the bottom and the upstream and downstream ends. Its nodes on the
// contact are the dam's own.
#include <array>
#include <vector>

#include "engine/DamMesh.h"
#include "engine/solid/Model.h"

namespace velta::engine {

// Depth of the block and its reach upstream and downstream of the dam's
// faces, in dam heights (the reach at most half the smallest extrados
// radius of the contact, so that rays toward the centres do not meet), the
// layers of the reach (each twice as thick as the one before it), the
// thickness of the first layer of the depth, in dam heights, and the growth
// of the depth's layers (the depth has as many layers, each `growth` times
// the one before, as keep the first one about that thick). Beyond two dam
// heights the crown's deflections change by less than the block's own mesh
// error (under 1 %).
constexpr double kRockBlockDepth = 2.0;
constexpr double kRockBlockReach = 1.0;
constexpr int kRockBlockLayers = 4;
constexpr double kRockBlockFirstLayer = 1.0 / 15;
constexpr double kRockBlockGrowth = 2.0;

struct RockBlock {
    std::vector<solid::Vec3> nodes;       // numbered after the dam's nodes
    std::vector<solid::Element> elements; // Hex20, contact nodes are the dam's
    std::vector<double> elementZ;         // mean elevation of each element's contact face
    std::vector<Side> elementSide;        // the abutment of each element's contact face
    std::vector<int> farNodes;            // nodes of the far faces (held)
    std::vector<int> contactNodes;        // the dam's nodes the block shares
    double depth = 0, reach = 0;          // ft
    int layers = 0;                       // layers of the depth
};

// The block under the whole contact of a dam mesh, `depth` feet deep,
// reaching `reach` feet upstream and downstream of the contact, its first
// layer about `firstLayer` feet thick (0: `layers` layers in the depth too).
RockBlock meshRockBlock(const DamMesh& dam, double depth, double reach, double firstLayer = 0,
                        int layers = kRockBlockLayers);

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
