#pragma once
// The loads editor's behaviour over its editor state.
#include "app/shell/Session.h"

namespace velta {

void LoadsFormActivate(Session& s);
// The commit. Returns true when the loads were validated (the form then
// closes).
bool LectureChargement(Session& s);
// OK: refuses a case without a grout arch, asks the user to confirm
// unusual water levels, then commits. Returns true when the form closes; the
// form stays open after a refusal or when the user goes back.
bool LoadsOKButtonClick(Session& s);
// Annuler: clears the loads mark.
void LoadsAnnulerButtonClick(Session& s);

}  // namespace velta
