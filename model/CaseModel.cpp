#include "model/CaseModel.h"

namespace velta {

void CaseModel::resetCaseTables()
{
    for (auto& name : DamName) name.clear();
    for (int t = 0; t < kFaceTabs; ++t) {
        FaceTab[t].clearColumns(5);
        FaceTabWork[t].clearColumns(5);
        FaceRows[t] = 1;
        FaceRowsWork[t] = 1;
    }
    ArcTab.clearColumns(5);
    NbArcs = 2;
}

}  // namespace velta
