#pragma once
// The geometry editor's behaviour over its editor state: showing, the
// centre-count rule, the face-tab change and validation, the angle
// convention switch, the right-click commands, OK and Annuler, and the
// commit LectureStructure.
#include "forms/CaseEditors.h"

namespace velta {

// FormActivate: unit labels and headers, working tables from the committed
// ones, the selected tab's grid, the centre-count rule, fields and arch grid.
void GeometryFormActivate(CaseEditors& s);
// NbCenterEditChange: captions, tabs, right radius visibility, layout picture.
void NbCenterEditChange(CaseEditors& s);
// FaceTabControlChange: loads working table t = geo.faceTabIndex into the grid.
void FaceTabControlChange(CaseEditors& s);
// FaceTabControlChanging: validates and completes the grid shown and, on
// success, stores it into the working table. AllowChange is in/out: the
// caller sets it to true, and it is the failure record: false afterwards
// on failure. A false on entry counts as a failure already recorded (the
// deck reader passes its acceptance flag): the row messages stay silent and
// nothing is stored, while the cells are still completed.
void FaceTabControlChanging(CaseEditors& s, bool& AllowChange);
// Selecting another face tab as the user does: validation first, the change
// only when it succeeds. Returns whether the tab changed.
bool selectFaceTab(CaseEditors& s, int newIndex);
// AngleRadioGroupClick: converts the arch grid's angles to the convention
// `newIndex` (0 Phi, 1 A). Tab 2 is validated first (the tab shown is left
// as a user would leave it). Returns whether the grid now shows `newIndex`;
// when the switch is refused, geo.AngleRadioGroup keeps the old convention,
// nothing is converted, and the dialog puts its radio group back.
bool AngleRadioGroupClick(CaseEditors& s, int newIndex);
// Top and base fields changed: their text goes into the first or last
// elevation cell of both grids.
void TopDEditChange(CaseEditors& s);
void BaseDEditChange(CaseEditors& s);

// The commit. Returns true when the geometry was validated (the editor then
// closes).
bool LectureStructure(CaseEditors& s);
// OK: validation of the tab shown, back to Phi, commit. Returns true when
// the editor closes. The caller redraws the 2D view (the result controls
// are disabled here).
bool GeometryOKButtonClick(CaseEditors& s);
// Annuler: restores the fields from the model, back to Phi, clears the mark.
void GeometryAnnulerButtonClick(CaseEditors& s);

// Headers (row 0) of both grids for the unit system and angle convention.
void writeGeometryGridHeaders(CaseEditors& s);

// Right-click menus of the two grids.
enum class GridKind { Face, Arc };
struct GridMenuItems {
    bool insertBelow = false, changeElevation = false, remove = false, copyFromPrevTab = false;
};
GridMenuItems gridMenuItems(const CaseEditors& s, GridKind grid);
// Each asks through the prompter, checks the entry and reports problems
// through the message sink; nothing changes on a refused entry. A command
// whose menu item is disabled does nothing.
void gridInsertBelow(CaseEditors& s, GridKind grid);
void gridChangeElevation(CaseEditors& s, GridKind grid);
void gridRemove(CaseEditors& s, GridKind grid);
void faceCopyElevationsFromPrevTab(CaseEditors& s);

}  // namespace velta
