#pragma once
// The cases open in tabs and their files. Only the case of the selected tab
// lives in the session; every other case is parked in its slot's scratch
// deck beside its engine outputs and is read back when its tab is selected.
// The window supplies the dialogs; the tests supply fakes.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/shell/Session.h"

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
    // Whether to save changes before they would be lost: Yes saves, No
    // discards, Cancel goes back. The Yes/No/Cancel confirmation unless a
    // dialog with buttons of its own is given.
    virtual Answer askSaveChanges(const std::string& text) { return askYesNoCancel(text); }
    // The folder the next open or save dialog starts in.
    virtual void setStartFolder(const std::string& /*folder*/) {}
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
inline constexpr const char* kNotADeckText = "Sorry, I don't think this is an VELTA file ";
inline constexpr const char* kUnsavedCasesText = "These cases have changes that are not saved:";
inline constexpr const char* kUnsavedCaseText = "This case has changes that are not saved:";

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
    // A short note for the status line.
    std::function<void(const std::string&)> showStatus;
    // A deck file that was opened or saved, for the list of recent files.
    std::function<void(const std::string&)> fileUsed;

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

    // Opens `path`, or the file chosen in the open dialog.
    void open(const std::optional<std::string>& path = std::nullopt);
    void save();
    void saveAs();
    // Lists the modified cases and asks once whether to save them. True
    // when the program should end; unmodified cases are never rewritten.
    bool exit();
    void rename();
    void duplicate();
    void close();

    struct PopupState {
        bool duplicate = false, save = false, saveAs = false, close = false;
    };
    PopupState popupState() const;

    int tabCount() const { return static_cast<int>(s_.main.tabs.size()); }

    // The case as its file would hold it, to tell whether an editor changed
    // it: take one before the editor and hand it to caseEdited afterwards,
    // which marks the case modified and its results out of date when the
    // case differs.
    std::string caseSnapshot() const;
    void caseEdited(const std::string& before);
    bool isModified(int slot) const;
    // The slots whose case differs from its file, in tab order.
    std::vector<int> modifiedSlots() const;
    // A case as the questions name it: its tab caption and its file's name.
    std::string caseLabel(int slot) const;

    // True for the name of a scratch file (VELTA<n>.DAT, .OUT, .PLT in the
    // scratch folder), which the program deletes at every start.
    bool isScratchFile(const std::string& path) const;
    // The tab whose case file is `path`, or -1.
    int tabOfFile(const std::string& path) const;
    // Where the file dialogs start: the folder of the selected case, else
    // the user's documents folder; never the scratch folder.
    std::string startFolder() const;

private:
    // Adds a tab captioned "calc_" + number of tabs; returns its slot.
    int addTab();
    void removeScratch(int slot);
    enum class Saved { Yes, Cancelled, Failed };
    // Saves the selected case to its file, through the save dialog when it
    // has none.
    Saved saveSelected();
    // Saves a parked case (its scratch deck) to its file.
    Saved saveParked(int slot);
    Saved saveSlot(int slot);
    // The save dialog for `slot`; empty when cancelled or refused (with its
    // message).
    std::optional<std::string> askSaveTarget(int slot, const std::string& caseLabel);
    // Refuses (with a message) a save of `slot` onto a scratch file or onto
    // the file of another tab.
    bool refuseTarget(const std::string& path, int slot);
    void status(const std::string& text);
    bool refuseWhenFull();

    Session& s_;
    ShellDialogs& dialogs_;
};

}  // namespace velta
