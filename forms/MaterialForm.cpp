// Placeholder bodies; the material editor's behaviour is being written.
#include "forms/MaterialForm.h"

namespace velta {

void MaterialFormActivate(Session&) {}
void DefRadioGroupClick(Session&, int) {}
bool LectureMateriau(Session&) { return false; }
void MaterialAnnulerButtonClick(Session&) {}

}  // namespace velta
