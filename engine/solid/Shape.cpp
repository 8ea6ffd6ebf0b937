#include "engine/solid/Shape.h"

#include <cmath>
#include <stdexcept>

namespace velta::engine::solid::shape {

namespace {

// Natural coordinates of the Hex20 nodes (corners, then mid-edges).
constexpr double kHexNodes[20][3] = {
    {-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1}, {-1, -1, 1}, {1, -1, 1}, {1, 1, 1},
    {-1, 1, 1},   {0, -1, -1}, {1, 0, -1}, {0, 1, -1},  {-1, 0, -1}, {0, -1, 1}, {1, 0, 1},
    {0, 1, 1},    {-1, 0, 1},  {-1, -1, 0}, {1, -1, 0}, {1, 1, 0},   {-1, 1, 0}};

// Wedge15: triangle coordinates (r, s) and zeta of each node.
constexpr double kWedgeNodes[15][3] = {
    {0, 0, -1},   {1, 0, -1},     {0, 1, -1},   {0, 0, 1},   {1, 0, 1},     {0, 1, 1},   {0.5, 0, -1}, {0.5, 0.5, -1},
    {0, 0.5, -1}, {0.5, 0, 1},    {0.5, 0.5, 1}, {0, 0.5, 1}, {0, 0, 0},    {1, 0, 0},   {0, 1, 0}};
// Corner pairs of the wedge's mid-edge nodes 6-11 (on a triangle).
constexpr int kWedgeEdge[6][2] = {{0, 1}, {1, 2}, {2, 0}, {3, 4}, {4, 5}, {5, 3}};

void hex20(const Vec3& p, Values& v)
{
    for (int i = 0; i < 20; ++i) {
        const double* c = kHexNodes[i];
        double* d = v.dn + 3 * i;
        if (c[0] != 0 && c[1] != 0 && c[2] != 0) {
            const double a = 1 + c[0] * p[0], b = 1 + c[1] * p[1], g = 1 + c[2] * p[2];
            const double s = c[0] * p[0] + c[1] * p[1] + c[2] * p[2];
            v.n[i] = 0.125 * a * b * g * (s - 2);
            d[0] = 0.125 * c[0] * b * g * (s - 1 + c[0] * p[0]);
            d[1] = 0.125 * c[1] * a * g * (s - 1 + c[1] * p[1]);
            d[2] = 0.125 * c[2] * a * b * (s - 1 + c[2] * p[2]);
        } else {
            const int q = c[0] == 0 ? 0 : (c[1] == 0 ? 1 : 2);
            const int k1 = (q + 1) % 3, k2 = (q + 2) % 3;
            const double bub = 1 - p[q] * p[q];
            const double f1 = 1 + c[k1] * p[k1], f2 = 1 + c[k2] * p[k2];
            v.n[i] = 0.25 * bub * f1 * f2;
            d[q] = -0.5 * p[q] * f1 * f2;
            d[k1] = 0.25 * bub * c[k1] * f2;
            d[k2] = 0.25 * bub * f1 * c[k2];
        }
    }
}

void wedge15(const Vec3& p, Values& v)
{
    const double r = p[0], s = p[1], z = p[2];
    const double L[3] = {1 - r - s, r, s};
    // dL/dr, dL/ds
    constexpr double dL[3][2] = {{-1, -1}, {1, 0}, {0, 1}};
    const double bub = 1 - z * z;
    for (int i = 0; i < 6; ++i) {
        const int t = i % 3;
        const double zi = i < 3 ? -1 : 1;
        const double l = L[t];
        v.n[i] = 0.5 * l * ((2 * l - 1) * (1 + z * zi) - bub);
        const double dl = 0.5 * ((4 * l - 1) * (1 + z * zi) - bub);
        double* d = v.dn + 3 * i;
        d[0] = dl * dL[t][0];
        d[1] = dl * dL[t][1];
        d[2] = 0.5 * l * ((2 * l - 1) * zi + 2 * z);
    }
    for (int e = 0; e < 6; ++e) {
        const int i = 6 + e;
        const int a = kWedgeEdge[e][0] % 3, b = kWedgeEdge[e][1] % 3;
        const double zi = e < 3 ? -1 : 1;
        const double g = 1 + z * zi;
        v.n[i] = 2 * L[a] * L[b] * g;
        double* d = v.dn + 3 * i;
        d[0] = 2 * g * (dL[a][0] * L[b] + L[a] * dL[b][0]);
        d[1] = 2 * g * (dL[a][1] * L[b] + L[a] * dL[b][1]);
        d[2] = 2 * L[a] * L[b] * zi;
    }
    for (int t = 0; t < 3; ++t) {
        const int i = 12 + t;
        v.n[i] = L[t] * bub;
        double* d = v.dn + 3 * i;
        d[0] = dL[t][0] * bub;
        d[1] = dL[t][1] * bub;
        d[2] = -2 * z * L[t];
    }
}

struct Gauss1 {
    std::vector<double> x, w;
};

Gauss1 gauss(int n)
{
    switch (n) {
    case 2: {
        const double a = 1 / std::sqrt(3.0);
        return {{-a, a}, {1, 1}};
    }
    case 3: {
        const double a = std::sqrt(0.6);
        return {{-a, 0, a}, {5.0 / 9, 8.0 / 9, 5.0 / 9}};
    }
    case 4: {
        const double a = std::sqrt(3.0 / 7 - 2.0 / 7 * std::sqrt(1.2));
        const double b = std::sqrt(3.0 / 7 + 2.0 / 7 * std::sqrt(1.2));
        const double wa = (18 + std::sqrt(30.0)) / 36, wb = (18 - std::sqrt(30.0)) / 36;
        return {{-b, -a, a, b}, {wb, wa, wa, wb}};
    }
    }
    throw std::logic_error("Gauss rule");
}

struct TriPoint {
    double r, s, w;
};

// Radon's 7-point rule, exact to degree 5 (weights sum to the area 1/2).
std::vector<TriPoint> triangle7()
{
    const double q = std::sqrt(15.0);
    const double a1 = (6 - q) / 21, b1 = (9 + 2 * q) / 21, w1 = (155 - q) / 2400;
    const double a2 = (6 + q) / 21, b2 = (9 - 2 * q) / 21, w2 = (155 + q) / 2400;
    return {{1.0 / 3, 1.0 / 3, 9.0 / 80}, {a1, a1, w1}, {b1, a1, w1}, {a1, b1, w1},
            {a2, a2, w2}, {b2, a2, w2}, {a2, b2, w2}};
}

std::vector<TriPoint> triangle3()
{
    return {{1.0 / 6, 1.0 / 6, 1.0 / 6}, {2.0 / 3, 1.0 / 6, 1.0 / 6}, {1.0 / 6, 2.0 / 3, 1.0 / 6}};
}

std::vector<Point> makeHexRule(int n)
{
    const Gauss1 g = gauss(n);
    std::vector<Point> pts;
    for (int k = 0; k < n; ++k)
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i)
                pts.push_back({Vec3(g.x[i], g.x[j], g.x[k]), g.w[i] * g.w[j] * g.w[k]});
    return pts;
}

std::vector<Point> makeWedgeRule(const std::vector<TriPoint>& tri, int n)
{
    const Gauss1 g = gauss(n);
    std::vector<Point> pts;
    for (int k = 0; k < n; ++k)
        for (const TriPoint& t : tri)
            pts.push_back({Vec3(t.r, t.s, g.x[k]), t.w * g.w[k]});
    return pts;
}

std::vector<Values> valuesAt(ElementType t, const std::vector<Point>& pts)
{
    std::vector<Values> v(pts.size());
    for (size_t i = 0; i < pts.size(); ++i) evaluate(t, pts[i].natural, v[i]);
    return v;
}

} // namespace

void evaluate(ElementType t, const Vec3& natural, Values& v)
{
    if (t == ElementType::Hex20)
        hex20(natural, v);
    else
        wedge15(natural, v);
}

const std::vector<Point>& volumeRule(ElementType t, WedgeRule w)
{
    static const std::vector<Point> hex = makeHexRule(3);
    static const std::vector<Point> wedge21 = makeWedgeRule(triangle7(), 3);
    static const std::vector<Point> wedge9 = makeWedgeRule(triangle3(), 3);
    if (t == ElementType::Hex20) return hex;
    return w == WedgeRule::Points21 ? wedge21 : wedge9;
}

const std::vector<Values>& volumeValues(ElementType t, WedgeRule w)
{
    static const std::vector<Values> hex = valuesAt(ElementType::Hex20, volumeRule(ElementType::Hex20, w));
    static const std::vector<Values> wedge21 =
        valuesAt(ElementType::Wedge15, volumeRule(ElementType::Wedge15, WedgeRule::Points21));
    static const std::vector<Values> wedge9 =
        valuesAt(ElementType::Wedge15, volumeRule(ElementType::Wedge15, WedgeRule::Points9));
    if (t == ElementType::Hex20) return hex;
    return w == WedgeRule::Points21 ? wedge21 : wedge9;
}

const std::vector<Point>& samplingPoints(ElementType t)
{
    static const std::vector<Point> hex = makeHexRule(2);
    static const std::vector<Point> wedge = makeWedgeRule(triangle3(), 2);
    return t == ElementType::Hex20 ? hex : wedge;
}

Vec3 naturalOfNode(ElementType t, int i)
{
    const double* c = t == ElementType::Hex20 ? kHexNodes[i] : kWedgeNodes[i];
    return Vec3(c[0], c[1], c[2]);
}

namespace {

// 8-node serendipity quadrilateral, corners (-1,-1) (1,-1) (1,1) (-1,1),
// then the mid-edges of 0-1, 1-2, 2-3, 3-0.
void quad8(double x, double y, FaceValues& v)
{
    constexpr double c[8][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}, {0, -1}, {1, 0}, {0, 1}, {-1, 0}};
    for (int i = 0; i < 8; ++i) {
        const double a = c[i][0], b = c[i][1];
        if (i < 4) {
            v.n[i] = 0.25 * (1 + a * x) * (1 + b * y) * (a * x + b * y - 1);
            v.dn[2 * i] = 0.25 * a * (1 + b * y) * (2 * a * x + b * y);
            v.dn[2 * i + 1] = 0.25 * b * (1 + a * x) * (a * x + 2 * b * y);
        } else if (a == 0) {
            v.n[i] = 0.5 * (1 - x * x) * (1 + b * y);
            v.dn[2 * i] = -x * (1 + b * y);
            v.dn[2 * i + 1] = 0.5 * (1 - x * x) * b;
        } else {
            v.n[i] = 0.5 * (1 + a * x) * (1 - y * y);
            v.dn[2 * i] = 0.5 * a * (1 - y * y);
            v.dn[2 * i + 1] = -y * (1 + a * x);
        }
    }
}

// 6-node triangle: corners (0,0) (1,0) (0,1), then mid-edges 0-1, 1-2, 2-0.
void tri6(double r, double s, FaceValues& v)
{
    const double L[3] = {1 - r - s, r, s};
    constexpr double dL[3][2] = {{-1, -1}, {1, 0}, {0, 1}};
    for (int i = 0; i < 3; ++i) {
        v.n[i] = L[i] * (2 * L[i] - 1);
        for (int k = 0; k < 2; ++k) v.dn[2 * i + k] = (4 * L[i] - 1) * dL[i][k];
    }
    constexpr int e[3][2] = {{0, 1}, {1, 2}, {2, 0}};
    for (int j = 0; j < 3; ++j) {
        const int a = e[j][0], b = e[j][1];
        v.n[3 + j] = 4 * L[a] * L[b];
        for (int k = 0; k < 2; ++k) v.dn[2 * (3 + j) + k] = 4 * (dL[a][k] * L[b] + L[a] * dL[b][k]);
    }
}

std::vector<FaceValues> makeFaceRule(int nodes)
{
    const Gauss1 g = gauss(4);
    std::vector<FaceValues> out;
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i) {
            FaceValues v;
            if (nodes == 8) {
                quad8(g.x[i], g.x[j], v);
                v.weight = g.w[i] * g.w[j];
            } else {
                // Collapsed square: r = u, s = v (1 - u) on [0,1]^2.
                const double u = 0.5 * (1 + g.x[i]), w = 0.5 * (1 + g.x[j]);
                tri6(u, w * (1 - u), v);
                v.weight = 0.25 * g.w[i] * g.w[j] * (1 - u);
            }
            out.push_back(v);
        }
    return out;
}

} // namespace

const std::vector<FaceValues>& faceRule(int nodes)
{
    static const std::vector<FaceValues> quad = makeFaceRule(8);
    static const std::vector<FaceValues> tri = makeFaceRule(6);
    if (nodes == 8) return quad;
    if (nodes == 6) return tri;
    throw std::invalid_argument("a face has 6 or 8 nodes");
}

} // namespace velta::engine::solid::shape
