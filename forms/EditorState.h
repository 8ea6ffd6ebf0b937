#pragma once
// What the three editors' controls hold. The dialogs bind their widgets to
// these structures, the deck reader fills them as a user would, and the
// validations and commits work on them.
#include <string>
#include <vector>

#include "forms/Grid.h"

namespace velta {

// TGeometrieFiche
struct GeometryEditorState {
    int NbCenterEdit = 1;  // spin field, 1..2
    std::string TopDEdit, BaseDEdit, RadiusEdit, RadiusEditR;
    // FaceTabControl: captions of the tabs and the selected one.
    std::vector<std::string> faceTabs{"Upstream face", "Downstream face", "Upstream line of center",
                                      "Downstream line of center"};
    int faceTabIndex = 0;
    GridState StructureStringGrid{6};
    GridState ArcStringGrid{4};
    int AngleRadioGroup = 0;  // 0 Phi (from the upstream line of centres), 1 A (general axis centre)
    // Display state set by the centre-count rule and the showing.
    std::string RadiusLabel = "Radius";
    std::string RadiusLabelR = " Right Radius";  // shown with the right radius field
    bool rightRadiusVisible = false;
    int layoutPicture = 0;
    std::string unitLabel = "ft";
    // Row 0 of both grids holds their headers (writeGeometryGridHeaders).
    static constexpr const char* kFaceGridHint = "Right Clic to insert, remove or change elevation";
    static constexpr const char* kArcGridHint = "Right click to inser or remove an arch";
};

// TMateriauFiche
struct MaterialEditorState {
    std::string EcEdit, NucEdit, WcEdit, ThecEdit, EREdit, NurEdit;
    int DefRadioGroup = 0;  // 0 uniform modulus, 1 variable moduli
    GridState DefStringGrid{3};
    bool erEnabled = true;  // the uniform field is enabled, the table disabled
    std::string modulusUnit = "E6 psi", weightUnit = "pounds per cubit foot", thermalUnit = "E-06 /°F";
};

// TChargementFiche
struct LoadsEditorState {
    std::vector<std::string> GroutComboBox;  // items
    int groutSelected = -1;                  // ItemIndex
    std::string RweEdit, TweEdit;
    bool thUniCheckBox = false, thlinCheckBox = false, WeightDistributionCheckBox = false;
    GridState ThuniStringGrid{2}, ThlinStringGrid{2};
    std::string unitLabel = "ft";
};

}  // namespace velta
