#pragma once
// The main window's controls as far as the core decides them: the marks of
// the Data menu, the enabled view and result controls, the tabs' captions
// and the per-slot change flags. Plain data, set by the editors' commits and
// the shell and read by the window, which shows them.
#include <array>
#include <string>
#include <vector>

#include "model/CaseModel.h"

namespace velta {

// The main window's controls as far as the core decides them.
struct MainWindowState {
    std::string caption = "VELTA";
    // Check marks of the Data menu: the validated flags of the case.
    bool GeometrieMenu = false, MateriauxMenu = false, ChargementMenu = false;
    std::string UniteMenuCaption = kUnitMenuInitialCaptionText;
    // Enabled states.
    bool GeometrieButton = false, GeometrieButton3d = false, DeformeeButton = false, SiButton = false,
         FappuiButton = false, LoadButton = false, ScaleLabel = false, PlusButton = false, MoinsButton = false,
         ValeurButton = false;
    // Tab bar: captions and the selected tab (-1 when there is none).
    std::vector<std::string> tabs;
    int tabIndex = -1;
    // Hint text of the drawing surface.
    std::string MainImageHint;
    // An analysis is running: commands that would start a second run,
    // change, open, duplicate or close a tab, or leave the program wait.
    bool analysisRunning = false;
    // The view button shown pressed (a ViewKind value), -1 when all are up.
    int viewButtonDown = -1;
    // Analysis menu: "Run", "Results files (imp. unit)", "Export results (.csv)".
    bool LancerCalculMenu = true, Resultsfilemenu = false, ExportResultsMenu = false;
    // Per tab slot: the case differs from its file (set by a commit that
    // changes it, cleared by a save), and the slot's results were computed
    // from data that has changed since (set by such a commit, cleared by a
    // run). Slot 0 also stands for the case edited before any tab exists.
    std::array<bool, kTabSlots> caseModified{};
    std::array<bool, kTabSlots> resultsStale{};

    static constexpr const char* kUnitMenuInitialCaptionText = "Convert in IS unit";

    bool caseValidated() const { return GeometrieMenu && MateriauxMenu && ChargementMenu; }
    // The view buttons, "Values", "+", "-" and the scale label.
    void disableViewControls();
    // The result controls: every view button but "2D Geometry".
    void disableResultControls();
    // After a results read: the controls of each kind of result on or off as
    // it was found, in this order; "+", "-", "Values" and the scale label
    // follow the last.
    void setResultControls(bool deflections, bool stresses, bool sections, bool forces);
};

}  // namespace velta
