#pragma once
// The case stage: the numbers of a committed case that the solid model
// needs besides the dam's shape, checked and in consistent units
// (feet, pounds, degrees Fahrenheit).
#include <vector>

#include "engine/Geometry.h"
#include "model/CaseModel.h"

namespace velta::engine {

enum class RockModel {
    Vogt,  // Vogt's coefficients as springs over the contact surface (default)
    Rigid, // every node of the contact held (the references' model)
    Block, // a meshed block of elastic rock under the contact, held on its far face
};

struct DamCase {
    double E = 0, nu = 0;      // concrete, lb/ft2
    double alpha = 0;          // 1/degF
    double unitWeight = 0;     // lb/ft3
    double rockNu = 0;         // rock's Poisson's ratio
    double rockE = 0;          // lb/ft2 when uniform
    bool variableModuli = false;
    double reservoir = 0;      // water surface upstream, ft
    double tailwater = 0;      // downstream, ft (the base when none)
    double grout = 0;          // top of grout, ft
    bool weightAdjusted = false; // the weight-distribution switch
    RockModel rock = RockModel::Vogt;
    double rockBlockDepth = 0; // the rock block's depth in dam heights; 0 the default
    // Elevations of the face tables' rows inside the dam (layer boundaries).
    std::vector<double> faceElevations;
};

constexpr double kWater = 62.4; // lb/ft3
constexpr double kPsf = 144.0;  // lb/ft2 per psi

// Reads and checks the case; throws EngineError with the reason.
DamCase readCase(const CaseModel& m, const DamGeometry& g);

// Rock modulus (lb/ft2) on one side at elevation z: uniform, or interpolated
// by elevation among the arches that give one.
double rockModulus(const DamCase& c, const DamGeometry& g, Side s, double z);

// Uniform and linear (upstream minus downstream) temperature changes at z,
// interpolated by elevation between the arches; deg F.
double tempUniformAt(const DamGeometry& g, double z);
double tempLinearAt(const DamGeometry& g, double z);

} // namespace velta::engine
