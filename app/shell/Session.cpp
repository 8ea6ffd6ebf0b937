#include "app/shell/Session.h"

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

std::string Session::scratchFile(int slot, const std::string& ext) const
{
    const std::string& dir = scratchDir.empty() ? model.ProgramDir : scratchDir;
    return dir + "VELTA" + std::to_string(slot) + ext;
}

void Session::Initialisation()
{
    main.caption = "VELTA";
    model.resetCaseTables();
    loads.GroutComboBox.clear();
    loads.groutSelected = -1;
    main.disableViewControls();
}

}  // namespace velta
