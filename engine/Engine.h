#pragma once
// The analysis of an arch dam as a three-dimensional body of quadratic
// solid elements, its results presented as the trial-load method's: on the
// grid of arch levels and cantilever slots, with the share of the load that
// the arches and the cantilevers carry. The rock yields under the contact
// by Vogt's coefficients.
#include <array>
#include <string>
#include <vector>

#include "engine/DamCase.h"
#include "engine/Geometry.h"
#include "forms/GeometryMath.h"
#include "model/CaseModel.h"

namespace velta::engine {

struct EngineOptions {
    int level = 0; // refinement level, 1 to 4; 0 the default
    RockModel rock = RockModel::Vogt;
    double rockBlockDepth = 0; // the rock block's depth in dam heights; 0 the default
};

// Stresses on one face at a node, psi, tension positive.
struct FaceStress {
    double hoop = 0;       // horizontal normal stress along the arch
    double vertical = 0;   // normal stress on a horizontal plane
    double slope = 0;      // normal stress along the face in the vertical section
    double shear = 0;      // shear on the face between the two directions
    double s1 = 0, s2 = 0; // principal stresses, s1 <= s2
    double angle = 0;      // direction of s1 from the vertical, degrees, positive toward the right abutment
};

struct NodeResult {
    double z = 0, a = 0, phi = 0;
    double radial = 0, tangential = 0, vertical = 0; // ft; radial negative downstream
    double pressure = 0;                             // water on the faces, net downstream, kips/ft2
    double archLoad = 0, cantLoad = 0;               // downstream loads carried, kips/ft2 of upstream face
    // The arch's load in two parts, for checking the split: the hoop
    // force's (ring formula) and its radial shear's change along the arch.
    double archRing = 0, archShear = 0;
    double thickness = 0;
    // Stress resultants: hoop and vertical forces (lb/ft), moments (ft-lb/ft).
    double Nh = 0, Nv = 0, Nhv = 0, Mh = 0, Mv = 0, Mhv = 0;
    FaceStress up, down;
};

struct CantileverResult {
    int slot = 0;
    double angle = 0;               // general-axis angle A, degrees
    double baseElev = 0;            // foundation elevation
    std::vector<NodeResult> points; // from the crest down, one per arch level
};

struct AbutmentResult {
    int slot = 0;
    double z = 0;
    double tangential = 0, vertical = 0,
           radial = 0; // lb/ft on the rock: toward the abutment, down, downstream
    double momentTangent = 0, momentRadial = 0, twist = 0; // ft-lb/ft
    double force1 = 0, angle1 = 0;                         // in the vertical plane tangent to the arch
    double force2 = 0, angle2 = 0;                         // in the radial vertical plane
    double rockE = 0;                                      // E6 psi
};

struct SectionRow {
    double z = 0, upFace = 0, downFace = 0;
    double upCentre[2] = {0, 0}, downCentre[2] = {0, 0};
    double extradosR[2] = {0, 0}, intradosR[2] = {0, 0};
    double crownThickness = 0;
};

struct CantileverGeometryRow {
    double z = 0, upstreamOffset = 0, thickness = 0, phi = 0, radius = 0;
};

struct AnalysisResult {
    CantileverLayout layout;
    std::vector<ArchLevel> arches;
    std::vector<SectionRow> sections;                                   // one per arch level
    std::vector<CantileverResult> cantilevers;                          // slots first..last
    std::vector<std::vector<CantileverGeometryRow>> cantileverGeometry; // same order, from the base up
    std::vector<AbutmentResult> abutments;                              // slots first..last
    double vogt[5] = {0, 0, 0, 0, 0};
    double bOverA = 0;
    double groutElev = 0;
    int nodes = 0, elements = 0, equations = 0;
    int level = 0, wedges = 0, thicknessDivisions = 0;
    RockModel rock = RockModel::Vogt;
    double rockDepth = 0, rockReach = 0; // ft, a rock block's depth and reach beyond the faces
    // Relative error of the stresses estimated from the jumps between the
    // elements' own nodal stresses and their averages (energy-like norm).
    double stressError = 0;
    // Equilibrium: applied loads, rock reactions (lb), and the relative
    // residual of the solved system.
    Vec3 applied = Vec3::Zero(), reaction = Vec3::Zero();
    double appliedMoment = 0, reactionMoment = 0; // about the vertical axis through the crown, ft-lb
    double residual = 0;
    double weightResidual = 0;
    bool weightSeparate = false;
};

// Runs the analysis of the imperial copy of a committed case. Throws
// EngineError with a reason the user can act on.
AnalysisResult analyse(const CaseModel& m, const EngineOptions& options = {});

} // namespace velta::engine
