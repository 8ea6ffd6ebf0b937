#include "graphics/ColourMaps.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace velta {

namespace {

struct Rgb {
    double r, g, b;
};

// Piecewise linear through evenly spaced anchors over [0, 1].
template <std::size_t N>
Color interpolate(const std::array<Rgb, N>& anchors, double t)
{
    if (!(t >= 0)) t = 0; // also NaN
    if (t > 1) t = 1;
    const double pos = t * (N - 1);
    const std::size_t i = std::min<std::size_t>(static_cast<std::size_t>(pos), N - 2);
    const double f = pos - static_cast<double>(i);
    auto mix = [&](double a, double b) {
        return static_cast<Color>(std::clamp(std::lround(a + (b - a) * f), 0L, 255L));
    };
    const Rgb& a = anchors[i];
    const Rgb& b = anchors[i + 1];
    return (mix(a.r, b.r) << 16) | (mix(a.g, b.g) << 8) | mix(a.b, b.b);
}

// viridis at t = 0, 0.1, ..., 1.
constexpr std::array<Rgb, 11> kViridis = {{
    {68, 1, 84},     {72, 36, 117},   {65, 68, 135},  {53, 95, 141},  {42, 120, 142}, {33, 145, 140},
    {34, 168, 132},  {68, 191, 112},  {122, 209, 81}, {189, 223, 38}, {253, 231, 37},
}};

// Blue through white to red (the red-blue diverging scheme, reversed so
// that negative values are blue).
constexpr std::array<Rgb, 11> kDiverging = {{
    {5, 48, 97},
    {33, 102, 172},
    {67, 147, 195},
    {146, 197, 222},
    {209, 229, 240},
    {247, 247, 247},
    {253, 219, 199},
    {244, 165, 130},
    {214, 96, 77},
    {178, 24, 43},
    {103, 0, 31},
}};

} // namespace

Color viridis(double t)
{
    return interpolate(kViridis, t);
}

Color diverging(double t)
{
    return interpolate(kDiverging, (t + 1) / 2);
}

Color ColourScale::colour(double v) const
{
    if (kind == Kind::Diverging) {
        const double m = std::max(std::abs(lo), std::abs(hi));
        return diverging(m > 0 ? v / m : 0);
    }
    return viridis(hi > lo ? (v - lo) / (hi - lo) : 0.5);
}

} // namespace velta
