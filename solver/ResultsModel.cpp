#include "solver/ResultsModel.h"

namespace velta {

void ResultsModel::reset()
{
    auto fill = [](TabResult& t, double v) {
        for (auto& layer : t)
            for (auto& slot : layer) slot.fill(v);
    };
    fill(ResDeflElev, kNoElevation);
    fill(ResDeflection, 0);
    fill(ResConsLoad, 0);
    ResDeflCount.fill(0);
    fill(ResStressElev, 0);
    fill(ResPrin1Up, 0);
    fill(ResPrin2Up, 0);
    fill(ResAngleUp, 0);
    fill(ResPrin1Down, 0);
    fill(ResPrin2Down, 0);
    fill(ResAngleDown, 0);
    ResStressCount.fill(0);
    fill(ResAbutForce, 0);
    for (auto& col : ResConsGeom)
        for (auto& slot : col) slot.fill(0);
    ResConsGeomCount.fill(0);
    for (auto& col : ResCentresLeft) col.fill(0);
}

}  // namespace velta
