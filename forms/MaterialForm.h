#pragma once
// The material editor's behaviour over its editor state.
#include "forms/CaseEditors.h"

namespace velta {

// Showing: the fields, labels and moduli table from the case.
void MaterialFormActivate(const CaseModel& m, MaterialEditorState& f);
// DefRadioGroupClick: uniform (0) or variable (1) rock moduli.
void DefRadioGroupClick(MaterialEditorState& f, int kind);
// The commit. Returns true when the materials were validated (the form
// then closes).
bool LectureMateriau(CaseEditors& s);
// OK: refuses an empty rock modulus that variable moduli need, asks the
// user to confirm unusual values, then commits. Returns true when the form
// closes; the form stays open after a refusal or when the user goes back.
bool MaterialOKButtonClick(CaseEditors& s);
// Annuler: clears the materials mark.
void MaterialAnnulerButtonClick(CaseEditors& s);

}  // namespace velta
