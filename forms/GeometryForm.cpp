// Placeholder bodies; the geometry editor's behaviour is being written.
#include "forms/GeometryForm.h"

namespace velta {

void GeometryFormActivate(Session&) {}
void NbCenterEditChange(Session&) {}
void FaceTabControlChange(Session&) {}
void FaceTabControlChanging(Session&, bool& AllowChange) { AllowChange = false; }
bool selectFaceTab(Session&, int) { return false; }
void AngleRadioGroupClick(Session&, int) {}
void TopDEditChange(Session&) {}
void BaseDEditChange(Session&) {}
bool LectureStructure(Session&) { return false; }
bool GeometryOKButtonClick(Session&) { return false; }
void GeometryAnnulerButtonClick(Session&) {}
GridMenuItems gridMenuItems(const Session&, GridKind) { return {}; }
void gridInsertBelow(Session&, GridKind) {}
void gridChangeElevation(Session&, GridKind) {}
void gridRemove(Session&, GridKind) {}
void faceCopyElevationsFromPrevTab(Session&) {}

}  // namespace velta
