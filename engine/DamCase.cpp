#include "engine/DamCase.h"

#include <cmath>

#include "model/Numbers.h"

namespace velta::engine {

namespace {

void requireRange(double v, double lo, double hi, const std::string& what)
{
    if (!(v >= lo && v <= hi))
        throw EngineError(what + " " + formatGeneral(v) + " lies outside the range " + formatGeneral(lo) +
                          " to " + formatGeneral(hi));
}

// Linear interpolation by elevation among the arch levels where `value`
// gives a number (NaN where it does not); constant beyond the ends.
template <class F> double byElevation(const std::vector<ArchLevel>& arches, double z, F value)
{
    double zl = 0, vl = NAN;
    for (const ArchLevel& a : arches) {
        const double v = value(a);
        if (std::isnan(v)) continue;
        if (a.z >= z) {
            if (std::isnan(vl)) return v;
            return vl + (v - vl) * (z - zl) / (a.z - zl);
        }
        zl = a.z;
        vl = v;
    }
    return vl;
}

} // namespace

DamCase readCase(const CaseModel& m, const DamGeometry& g)
{
    DamCase c;
    requireRange(m.Ec[kImperial], 0.01, 100, "the concrete modulus (E6 psi)");
    requireRange(m.Nuc[kImperial], 0, 0.49, "the concrete's Poisson's ratio");
    requireRange(m.Wc[kImperial], 0, 500, "the unit weight of concrete (lb/ft3)");
    requireRange(m.Thec[kImperial], 0, 100, "the thermal expansion coefficient (E-06 per deg F)");
    requireRange(m.Nur[kImperial], 0, 0.49, "the rock's Poisson's ratio");
    if (!m.VariableModuli) requireRange(m.Er[kImperial], 0.001, 1e5, "the rock modulus (E6 psi)");
    c.E = m.Ec[kImperial] * 1e6 * kPsf;
    c.nu = m.Nuc[kImperial];
    c.alpha = m.Thec[kImperial] * 1e-6;
    c.unitWeight = m.Wc[kImperial];
    c.rockNu = m.Nur[kImperial];
    c.rockE = m.Er[kImperial] * 1e6 * kPsf;
    c.variableModuli = m.VariableModuli;
    c.reservoir = m.Rwe[kImperial];
    c.tailwater = m.Twe[kImperial] > g.base ? m.Twe[kImperial] : g.base;
    const int nb = int(g.arches.size());
    if (m.GroutIndex < 0 || m.GroutIndex >= nb) throw EngineError("no arch is chosen as the top of grout");
    c.grout = g.arches[nb - 1 - m.GroutIndex].z;
    c.weightAdjusted = m.WeightDistribution;
    if (c.variableModuli)
        for (int s = 0; s < 2; ++s)
            for (const ArchLevel& a : g.arches) {
                const double e = rockModulus(c, g, Side(s), a.z);
                requireRange(e / (1e6 * kPsf), 0.001, 1e5,
                             "the rock modulus (E6 psi) at " + formatGeneral(a.z) + " ft");
            }
    for (int t = 0; t < kFaceTabs; ++t) {
        if (g.nbCenter == 1 && t >= 4) break;
        for (int r = 0; r <= m.FaceRows[t]; ++r) {
            const std::string& s = m.FaceTab[t](kImperial, kColElevation, r);
            if (s.empty()) continue;
            try {
                const double z = parseNumber(s);
                if (z > g.base && z < g.top) c.faceElevations.push_back(z);
            } catch (const std::exception&) {
            }
        }
    }
    return c;
}

double rockModulus(const DamCase& c, const DamGeometry& g, Side s, double z)
{
    if (!c.variableModuli) return c.rockE;
    const double e = byElevation(g.arches, z, [&](const ArchLevel& a) { return a.rockE[s] > 0 ? a.rockE[s] : NAN; });
    if (std::isnan(e))
        throw EngineError(std::string("no rock modulus is given on the ") + (s == kLeft ? "left" : "right") +
                          " side");
    return e * 1e6 * kPsf;
}

double tempUniformAt(const DamGeometry& g, double z)
{
    return byElevation(g.arches, z, [](const ArchLevel& a) { return a.tempUniform; });
}

double tempLinearAt(const DamGeometry& g, double z)
{
    return byElevation(g.arches, z, [](const ArchLevel& a) { return a.tempLinear; });
}

} // namespace velta::engine
