#pragma once
// The loads editor's behaviour over its editor state.
#include "model/Session.h"

namespace velta {

void LoadsFormActivate(Session& s);
// The commit. Returns true when the loads were validated (the form then
// closes).
bool LectureChargement(Session& s);
// Annuler: clears the loads mark.
void LoadsAnnulerButtonClick(Session& s);

}  // namespace velta
