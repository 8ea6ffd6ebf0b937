#include "engine/Rock.h"

#include <algorithm>
#include <array>

namespace velta::engine {

namespace {
// b/a, K1, K2, K3, K4, K5 for a Poisson's ratio of 0.2.
constexpr std::array<std::array<double, 6>, 11> kVogt = {{
    {1.0, 4.32, 0.62, 1.02, 4.65, 0.345},
    {1.5, 4.65, 0.78, 1.23, 4.80, 0.413},
    {2.0, 4.84, 0.91, 1.39, 5.18, 0.458},
    {3.0, 5.04, 1.10, 1.60, 5.64, 0.515},
    {4.0, 5.15, 1.25, 1.77, 5.90, 0.550},
    {5.0, 5.22, 1.36, 1.89, 6.08, 0.574},
    {6.0, 5.27, 1.47, 2.00, 6.20, 0.592},
    {8.0, 5.32, 1.63, 2.17, 6.37, 0.614},
    {10.0, 5.36, 1.75, 2.31, 6.46, 0.630},
    {15.0, 5.41, 1.98, 2.55, 6.59, 0.653},
    {20.0, 5.43, 2.16, 2.72, 6.66, 0.668},
}};
} // namespace

VogtCoefficients vogtCoefficients(double bOverA, double nu)
{
    const double r = std::clamp(bOverA, 1.0, 20.0);
    size_t k = 1;
    while (k + 1 < kVogt.size() && kVogt[k][0] < r) ++k;
    const auto& lo = kVogt[k - 1];
    const auto& hi = kVogt[k];
    const double t = (r - lo[0]) / (hi[0] - lo[0]);
    auto at = [&](int c) { return lo[c] + t * (hi[c] - lo[c]); };
    const double s = (1 - nu * nu) / 0.96;
    return {at(1) * s, at(2) * s, at(3) * s, at(4) * s, at(5) * s};
}

Eigen::Matrix<double, 6, 6> vogtSpring(const VogtCoefficients& k, double E, double a, double length)
{
    Eigen::Matrix<double, 6, 6> K = Eigen::Matrix<double, 6, 6>::Zero();
    // Shear across the thickness with the rocking about the foundation line.
    // A shear toward +0 tilts the surface so that its +0 side sinks, which
    // is a positive rotation about axis 1 (= axis 2 x axis 0); Betti's
    // theorem gives the same coefficient for the displacement under moment.
    Eigen::Matrix2d flex;
    flex << k.k3, k.k5 / a, k.k5 / a, k.k1 / (a * a);
    const Eigen::Matrix2d stiff = (E * length) * flex.inverse();
    K(0, 0) = stiff(0, 0);
    K(0, 4) = K(4, 0) = stiff(0, 1);
    K(4, 4) = stiff(1, 1);
    K(1, 1) = E * length / k.k3;         // shear along the foundation line
    K(2, 2) = E * length / k.k2;         // normal force
    K(5, 5) = E * a * a * length / k.k4; // twist about the normal
    return K;
}

} // namespace velta::engine
