#pragma once
// Checks of the per-arch values and of the plausibility of what the
// material and loads editors hold. Refusals stop a commit or a run with a
// message; unusual values are put to the user, who may keep them.
#include <optional>
#include <string>
#include <vector>

#include "forms/CaseEditors.h"

namespace velta {

// A rock modulus that variable moduli need and that is empty in the moduli
// table (rows top first, as the editor shows them): the message names the
// side and the arch.
std::optional<std::string> missingRockModulus(const GridState& moduli, const std::string& unit);

// The message for a case whose top of grout designates no arch.
std::string noGroutArchText();

// What the analysis needs of the committed case and does not have: a rock
// modulus of an arch with variable moduli, or the grout arch. Checked before
// a run.
std::optional<std::string> missingArchValue(const CaseModel& m);

// Unusual values in the material editor (moduli and unit weight not above
// zero, Poisson's ratios outside 0 to 0.5) and in the loads editor (a
// reservoir above the top of the dam, a tailwater above the reservoir), one
// sentence each. Fields that are not numbers are left to the commit.
std::vector<std::string> unusualMaterials(const CaseModel& m, const MaterialEditorState& f);
std::vector<std::string> unusualLoads(const CaseModel& m, const LoadsEditorState& f);

// Puts the unusual values to the user through the prompter; true when there
// are none or the user keeps them.
bool confirmUnusualValues(Prompter& prompter, const std::string& title, const std::vector<std::string>& findings);

}  // namespace velta
