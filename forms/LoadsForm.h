#pragma once
// The loads editor's behaviour over its editor state.
#include "forms/CaseEditors.h"

namespace velta {

// Showing: the grout list, fields and temperature tables from the case.
void LoadsFormActivate(const CaseModel& m, LoadsEditorState& f);
// The commit. Returns true when the loads were validated (the form then
// closes).
bool LectureChargement(CaseEditors& s);
// OK: refuses a case without a grout arch, asks the user to confirm
// unusual water levels, then commits. Returns true when the form closes; the
// form stays open after a refusal or when the user goes back.
bool LoadsOKButtonClick(CaseEditors& s);
// Annuler: clears the loads mark.
void LoadsAnnulerButtonClick(CaseEditors& s);

}  // namespace velta
