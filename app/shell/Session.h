#pragma once
// The process-wide state of the program: the live case, what the editors'
// controls hold, the main window's marks and enabled controls, the results
// of the tab shown, and the view and drawing state. The desktop program, the
// batch tool and the tests all drive this same object.
#include <array>
#include <string>
#include <vector>

#include "forms/EditorState.h"
#include "graphics/DrawState.h"
#include "model/CaseModel.h"
#include "model/Messages.h"
#include "model/Units.h"
#include "solver/ResultsModel.h"

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
};

class Session {
public:
    Session(MessageSink& sink, Prompter& prompter) : messages(sink), prompter(prompter) {}

    CaseModel model;
    GeometryEditorState geo;
    MaterialEditorState mat;
    LoadsEditorState loads;
    MainWindowState main;
    ResultsModel results;
    ViewState view;
    DrawState draw;

    MessageSink& messages;
    Prompter& prompter;

    // Folder of the scratch decks and engine outputs, ending with a
    // separator; ProgramDir unless the program folder is not writable.
    std::string scratchDir;

    // The tab slot whose case is live: the selected tab, or 0 without tabs.
    int currentSlot() const { return main.tabIndex < 0 ? 0 : main.tabIndex; }
    // Path of the scratch file of slot n with extension ".DAT", ".OUT" or ".PLT".
    std::string scratchFile(int slot, const std::string& ext) const;

    // Resets the case for a new or re-read case (caption, names, tables,
    // grout list, view controls). Scalars, DefTab, TempTab, CaseFile,
    // UnitSystem and the results are kept.
    void Initialisation();
};

}  // namespace velta
