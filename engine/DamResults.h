#pragma once
// The results stage: the solid model's displacements and stresses turned
// into the trial-load method's presentation on the grid of arch levels and
// cantilever slots.
#include "engine/DamAssembly.h"
#include "engine/DamSolution.h"
#include "engine/Engine.h"

namespace velta::engine {

AnalysisResult presentResults(const DamGeometry& g, const DamCase& c, const CantileverLayout& layout,
                              const DamAssembly& a, const DamSolution& s);

// Face stresses (psi) from a stress tensor (lb/ft2) at a point of a face:
// h the horizontal direction of the arch, v the face's direction in the
// vertical section (upward).
FaceStress faceStress(const solid::Stress& sigma, const solid::Vec3& h, const solid::Vec3& v);

} // namespace velta::engine
