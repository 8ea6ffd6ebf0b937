#pragma once
// The cases open in tabs and their files. Only the case of the selected tab
// lives in the session; every other case is parked in its slot's scratch
// deck beside its engine outputs and is read back when its tab is selected.
// The window supplies the dialogs; the tests supply fakes.
#include <functional>
#include <optional>
#include <string>

#include "model/Session.h"

namespace velta {

enum class Answer { Yes, No, Cancel };

// What the tab commands ask the user besides the session's messages and
// input boxes.
class ShellDialogs {
public:
    virtual ~ShellDialogs() = default;
    // The open dialog (no filter). Empty when the user cancels.
    virtual std::optional<std::string> openFile() = 0;
    // The save dialog (default extension ".dat", filter "velta|*.dat").
    // `caseLabel` names the case being saved when it is not the selected
    // one (its tab caption), empty otherwise. Empty when the user cancels.
    virtual std::optional<std::string> saveFile(const std::string& caseLabel) = 0;
    // A confirmation with the buttons Yes, No and Cancel.
    virtual Answer askYesNoCancel(const std::string& text) = 0;
};

// Texts shown by the tab commands.
inline constexpr const char* kSaveFailedText = "Data can not be saved";
inline constexpr const char* kReadFailedText = "Data can not be read";
inline constexpr const char* kExitQuestionText = "Do you want to save before exit?";
inline constexpr const char* kRenameTitleText = "Rename";
inline constexpr const char* kRenamePromptText = "Type a new name to remember what the f..k is this calcul about";
inline constexpr const char* kTooManyTabsText =
    "21 cases are already open: close one of them before opening or duplicating another.";
inline constexpr const char* kNoFileCaption = "VELTA";

// Scratch file extensions of a slot.
inline constexpr const char* kDeckExt = ".DAT";
inline constexpr const char* kReportExt = ".OUT";
inline constexpr const char* kPlotExt = ".PLT";

class CaseTabs {
public:
    CaseTabs(Session& s, ShellDialogs& dialogs);

    // What the tab logic calls outside the core deck code. `readDeck` is the
    // deck reader; `readResults` reads the live slot's engine outputs into
    // the results model; `redrawView` runs the handler of the button of
    // `ViewKind`; `show2D` presses "2D Geometry". Empty hooks do nothing.
    std::function<void(Session&, bool&, const std::string&)> readDeck;
    std::function<void(Session&)> readResults;
    std::function<void()> redrawView;
    std::function<void()> show2D;

    // Start-up: deletes the scratch decks and engine outputs of every slot
    // and gives every slot the case file "VELTA".
    void startUp();

    // Park the selected case into its scratch deck. False (after the message
    // "Data can not be saved") when it could not be written.
    bool park();
    // Make slot n the selected tab and read its case back from its scratch
    // deck, with its results when its plot output exists.
    void bringBack(int n);
    // The user selects tab n: park, then bring back. False when refused.
    bool changeTab(int n);

    void open();
    void save();
    void saveAs();
    // Asks whether to save first. True when the program should end.
    bool exit();
    void rename();
    void duplicate();
    void close();

    struct PopupState {
        bool duplicate = false, save = false, saveAs = false, close = false;
    };
    PopupState popupState() const;

    int tabCount() const { return static_cast<int>(s_.main.tabs.size()); }

private:
    // Adds a tab captioned "calc_" + number of tabs; returns its slot.
    int addTab();
    void removeScratch(int slot);
    // Saves the selected case to its file, through the save dialog when it
    // has none. False when writing failed; a cancelled dialog is not a failure.
    bool saveSelected();
    // Saves a parked case (its scratch deck) to its file. Same result.
    bool saveParked(int slot);
    bool refuseWhenFull();

    Session& s_;
    ShellDialogs& dialogs_;
};

}  // namespace velta
