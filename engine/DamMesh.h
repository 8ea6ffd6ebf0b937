#pragma once
// The mesh stage: the dam's body in quadratic solids. Rows of elements are
// bounded by the arch levels, the face tables' elevations and the water
// levels; columns by the crown and every cantilever slot; the thickness is
// cut along the ray from the extrados centre. The abutment surfaces are the
// rays at Phi L and Phi R of each arch, Phi interpolated linearly in
// elevation between the arches. Where the valley narrows toward the base
// the columns beyond the last full slot fan out from the slot's foot, and
// their lowest elements are 15-node wedges.
#include <array>
#include <map>
#include <tuple>
#include <vector>

#include "engine/DamCase.h"
#include "engine/Geometry.h"
#include "engine/solid/Model.h"

namespace velta::engine {

// Refinement of the mesh: elements per half arch at the crest, element
// layers over the height and elements through the thickness all grow with
// the level. Level 1 is the default: 16 elements per half arch, 16 layers,
// 3 through the thickness; level L > 1 has 12 L, 16 L and 3 L.
struct MeshLevel {
    int level = 1;
    int perHalfArch = 16;
    int heightLayers = 16; // for a dam without intermediate levels
    int thickness = 3;     // mid-thickness is a node either way
};
MeshLevel meshLevel(int level); // throws EngineError outside 1 to 4
constexpr int kDefaultLevel = 1;
constexpr int kMaxLevel = 4;

// Parameters of a node: signed general-axis angle (degrees), elevation, and
// position through the thickness (0 on the upstream face, 1 downstream).
struct NodeParam {
    double a = 0, z = 0, t = 0;
};

// A face of an element on the dam's surface, nodes in solid::Face order
// with the outward normal.
struct DamFace {
    solid::Face face;
    int element = 0;
};

// A strip of the contact with the rock, one element layer high and the
// whole thickness wide: its nodes [along][across], along the foundation
// line (3, from below) and across the thickness (2 * divisions + 1, from the
// upstream face); -1 where the lattice has no node (face centres).
struct FoundationFace {
    std::array<std::vector<int>, 3> nodes;
    Side side = kLeft;
    std::vector<int> elements; // one per thickness division
};

struct DamMesh {
    solid::Model model; // nodes and elements (material 0), no loads or supports
    std::vector<NodeParam> param;
    std::vector<DamFace> upstream, downstream;
    std::vector<FoundationFace> foundation;
    std::vector<double> rows;      // element layer elevations, increasing
    std::vector<int> elementLayer; // per element: its row (0 = lowest)
    int thicknessDivisions = 2;
    MeshLevel level;
    int wedges = 0;

    // Node at signed angle a, elevation z (a layer boundary) and thickness
    // position k / (2 * thicknessDivisions); -1 when there is none.
    int nodeAt(double a, double z, int k) const;

    std::map<std::tuple<long long, long long, int>, int> index; // (z, a, k) keys
};

// Signed general-axis angle (degrees) of the abutment at elevation z:
// the ray at Phi, interpolated linearly between the arches that give one.
double abutmentA(const DamGeometry& g, Side s, double z);
double abutmentPhi(const DamGeometry& g, Side s, double z);

DamMesh meshDam(const DamGeometry& g, const DamCase& c, const MeshLevel& level);

} // namespace velta::engine
