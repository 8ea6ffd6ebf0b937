#include "model/WindowState.h"

namespace velta {

void MainWindowState::disableViewControls()
{
    GeometrieButton = GeometrieButton3d = DeformeeButton = SiButton = FappuiButton = LoadButton = false;
    ValeurButton = PlusButton = MoinsButton = ScaleLabel = false;
}

void MainWindowState::disableResultControls()
{
    DeformeeButton = SiButton = FappuiButton = ValeurButton = GeometrieButton3d = LoadButton = false;
    PlusButton = MoinsButton = ScaleLabel = false;
}

void MainWindowState::setResultControls(bool deflections, bool stresses, bool sections, bool forces)
{
    DeformeeButton = LoadButton = deflections;
    SiButton = stresses;
    GeometrieButton3d = sections;
    FappuiButton = forces;
    PlusButton = MoinsButton = ValeurButton = ScaleLabel = forces;
}

}  // namespace velta
