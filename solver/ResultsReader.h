#pragma once
// Reads the engine's two result files of a tab (VELTA<n>.PLT: deflections
// and principal stresses; VELTA<n>.OUT: planes of centres, cantilever
// sections, forces on the abutments) into the results model and converts
// them to SI. Each section that cannot be read is reported in its own
// message; the outcome says which sections were found, for the controls
// that show them.
#include <string>

#include "model/CaseModel.h"
#include "model/Messages.h"
#include "solver/ResultsModel.h"

namespace velta {

// What the reader could open and read.
struct ResultsReadOutcome {
    bool pltOpened = false;
    bool outOpened = false;
    // The .PLT ended before the end title of its deflections or of its
    // stresses: what was read of them may be cut short.
    bool pltCutShort = false;
    // Sections read to their end: deflections and stresses (.PLT),
    // cantilever sections and forces on the abutments (.OUT).
    bool deflections = false, stresses = false, sections = false, forces = false;
};

// Init_resultat: the results model back to its reset values.
void Init_resultat(ResultsModel& r);

// Reads the given result files into `r` for the case `m`, whose geometry
// has `nbCenter` centres. `folder` is the folder named in the messages,
// where the files were looked for.
ResultsReadOutcome LectureResultats(ResultsModel& r, const CaseModel& m, int nbCenter, MessageSink& messages,
                                    const std::string& pltPath, const std::string& outPath,
                                    const std::string& folder);

// The same reading from the files' bytes; a null pointer is a file that
// could not be opened.
ResultsReadOutcome readResults(ResultsModel& r, const CaseModel& m, int nbCenter, MessageSink& messages,
                               const std::string* pltBytes, const std::string* outBytes,
                               const std::string& folder);

}  // namespace velta
