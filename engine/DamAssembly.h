#pragma once
// The assembly stage: the solid model of a dam with its materials, its rock
// (Vogt's springs over the contact, or the contact held) and its load
// vectors. The same values go to the element library's solver and, written
// out, to an independent finite-element code.
#include <Eigen/Dense>

#include "engine/DamCase.h"
#include "engine/DamMesh.h"
#include "engine/Geometry.h"
#include "engine/solid/Model.h"
#include "model/CaseModel.h"

namespace velta::engine {

// Stiffness left across an open vertical joint, as a fraction of the
// concrete's: the joints above the top of grout, and every joint while the
// weight is carried by independent cantilevers.
constexpr double kOpenJoint = 1e-4;

struct DamAssembly {
    DamMesh mesh;
    // The adjusted structure (joints grouted up to the top of grout) under
    // water, tailwater, temperatures, and the weight when the
    // weight-distribution switch is on.
    solid::Model model;
    Eigen::VectorXd load;
    // The weight on independent cantilevers (switch off): every joint open.
    bool weightSeparate = false;
    solid::Model weightModel;
    Eigen::VectorXd weightLoad;
    // Rock.
    RockModel rock = RockModel::Vogt;
    double bOverA = 0;
    double vogt[5] = {0, 0, 0, 0, 0};
    std::vector<int> contactNodes; // every node on the contact with the rock
    // The dam's elements come first in the models; a rock block's follow.
    int damElements = 0;
    // Block: the rock's elements alone on the same nodes (their forces at
    // the contact are the dam's forces on the rock), the block's depth and its
    // reach upstream and downstream.
    solid::Model rockPart;
    double rockDepth = 0, rockReach = 0;
};

// Builds the solid model of a case from its stages.
DamAssembly assembleDam(const DamCase& c, const DamGeometry& g, DamMesh mesh);

// The whole chain from a committed case (imperial copy) at a refinement
// level (1 to kMaxLevel) with the given rock model. Throws EngineError.
DamAssembly buildSolidModel(const CaseModel& m, int level = kDefaultLevel, RockModel rock = RockModel::Vogt);

} // namespace velta::engine
