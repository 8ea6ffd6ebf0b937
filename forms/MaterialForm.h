#pragma once
// The material editor's behaviour over its editor state.
#include "model/Session.h"

namespace velta {

void MaterialFormActivate(Session& s);
// DefRadioGroupClick: uniform (0) or variable (1) rock moduli.
void DefRadioGroupClick(Session& s, int kind);
// The commit. Returns true when the materials were validated (the form
// then closes).
bool LectureMateriau(Session& s);
// Annuler: clears the materials mark.
void MaterialAnnulerButtonClick(Session& s);

}  // namespace velta
