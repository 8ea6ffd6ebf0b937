// Placeholder bodies; the loads editor's behaviour is being written.
#include "forms/LoadsForm.h"

namespace velta {

void LoadsFormActivate(Session&) {}
bool LectureChargement(Session&) { return false; }
void LoadsAnnulerButtonClick(Session&) {}

}  // namespace velta
