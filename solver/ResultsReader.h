#pragma once
// Reads the engine's two result files of a tab (VELTA<n>.PLT: deflections
// and principal stresses; VELTA<n>.OUT: planes of centres, cantilever
// sections, forces on the abutments) into the results model, converts them
// to SI and enables the result views whose data was found. Each section that
// cannot be read is reported in its own message and disables its controls.
#include <string>

#include "app/shell/Session.h"

namespace velta {

// What the reader could open.
struct ResultsReadOutcome {
    bool pltOpened = false;
    bool outOpened = false;
    // The .PLT ended before the end title of its deflections or of its
    // stresses: what was read of them may be cut short.
    bool pltCutShort = false;
};

// Init_resultat: the results model back to its reset values.
void Init_resultat(Session& s);

// Reads the current tab's result files from the scratch folder.
void LectureResultats(Session& s);

// Reads the given result files. `folder` is the folder named in the
// messages, where the files were looked for.
ResultsReadOutcome LectureResultats(Session& s, const std::string& pltPath, const std::string& outPath,
                                    const std::string& folder);

// The same reading from the files' bytes; a null pointer is a file that
// could not be opened.
ResultsReadOutcome readResults(Session& s, const std::string* pltBytes, const std::string* outBytes,
                               const std::string& folder);

}  // namespace velta
