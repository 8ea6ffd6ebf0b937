#pragma once
// The dam's mid-surface cut into cells along arches (rows of constant
// elevation) and cantilevers (columns of constant general-axis angle), the
// deck's own arches and cantilevers among them.
#include <array>
#include <vector>

#include "engine/Geometry.h"
#include "forms/GeometryMath.h"

namespace velta::engine {

struct MeshNode {
    double a = 0, z = 0; // signed general-axis angle (degrees) and elevation (ft)
    SectionPoint sec;    // the section through the node
    bool foundation = false;
};

// Four node indices counter-clockwise in the developed view (angle to the
// right, elevation up); a triangle repeats its third node.
struct MeshElement {
    std::array<int, 4> n{};
    bool triangle = false;
};

struct Mesh {
    std::vector<double> cols;              // column angles, increasing
    std::vector<double> rows;              // row elevations, increasing
    std::vector<int> first, last;          // per row: first and last column present
    std::vector<std::vector<int>> rowNode; // per row: node index of columns first..last
    std::vector<MeshNode> nodes;
    std::vector<MeshElement> elements;
    std::array<std::vector<int>, 2> foundationPath; // per side, from the base up
    std::vector<int> archRow;                       // row of each arch level
    std::array<int, kConsSlots> slotCol{};          // column of each used slot

    int node(int col, int row) const
    {
        if (col < first[row] || col > last[row]) return -1;
        return rowNode[row][col - first[row]];
    }
};

// `size` is the target cell size in feet.
Mesh buildMesh(const DamGeometry& g, const CantileverLayout& layout, double size);

} // namespace velta::engine
