#pragma once
// The process-wide state of the program: the live case, what the editors'
// controls hold, the main window's marks and enabled controls, the results
// of the tab shown, the view and drawing state, and the scratch files of the
// tabs. The desktop program, the batch tool and the tests all drive this
// same object; the layers below it take only their part of it.
#include <string>

#include "graphics/CaseViews.h"
#include "solver/ResultsReader.h"

namespace velta {

// The editors' and the views' parts come from the layers below (CaseEditors,
// CaseViews); the session adds the scratch files of the tabs.
class Session : public CaseViews {
public:
    Session(MessageSink& sink, Prompter& prompter) : CaseViews(sink, prompter) {}

    // Folder of the scratch decks and engine outputs, ending with a
    // separator; ProgramDir unless the program folder is not writable.
    std::string scratchDir;

    // Path of the scratch file of slot n with extension ".DAT", ".OUT" or ".PLT".
    std::string scratchFile(int slot, const std::string& ext) const;

    // Resets the case for a new or re-read case (caption, names, tables,
    // grout list, view controls). Scalars, DefTab, TempTab, CaseFile,
    // UnitSystem and the results are kept.
    void Initialisation();
};

// The results reader on the session's results model, for its case; the
// result controls of the window follow what was found.
ResultsReadOutcome readResults(Session& s, const std::string* pltBytes, const std::string* outBytes,
                               const std::string& folder);
ResultsReadOutcome LectureResultats(Session& s, const std::string& pltPath, const std::string& outPath,
                                    const std::string& folder);
// Reads the current tab's result files from the scratch folder.
void LectureResultats(Session& s);

}  // namespace velta
