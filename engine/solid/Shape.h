#pragma once
// Shape functions and integration rules of the quadratic solid elements and
// of their faces, with the values at the integration points computed once
// per element type.
#include <vector>

#include "engine/solid/Model.h"

namespace velta::engine::solid::shape {

constexpr int kMaxNodes = 20;

struct Point {
    Vec3 natural;
    double weight = 0;
};

// Values and natural derivatives of every shape function at one point:
// n[i], dn[3 * i + k] = dN_i / d(natural k).
struct Values {
    double n[kMaxNodes];
    double dn[3 * kMaxNodes];
};

// Volume rules: Hex20 3 x 3 x 3 Gauss; Wedge15 a 7-point (degree 5) or a
// 3-point rule on the triangle times 3-point Gauss across it.
const std::vector<Point>& volumeRule(ElementType t, WedgeRule w);
// The shape functions at the volume rule's points, in the same order.
const std::vector<Values>& volumeValues(ElementType t, WedgeRule w);

// Points where stresses are sampled for extrapolation to the nodes: Hex20
// the 2 x 2 x 2 Gauss points; Wedge15 the 3-point triangle rule times
// 2-point Gauss. (Weights unused.)
const std::vector<Point>& samplingPoints(ElementType t);

void evaluate(ElementType t, const Vec3& natural, Values& v);
Vec3 naturalOfNode(ElementType t, int localNode);

// Face elements (8-node quadrilateral, 6-node triangle) in 2 natural
// coordinates: n[i], dn[2 * i + k].
struct FaceValues {
    double n[8];
    double dn[16];
    double weight = 0;
};
// Quadrilateral 4 x 4 Gauss; triangle 4 x 4 collapsed Gauss (exact to
// degree 7 in both).
const std::vector<FaceValues>& faceRule(int nodes);

} // namespace velta::engine::solid::shape
