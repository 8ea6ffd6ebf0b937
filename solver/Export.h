#pragma once
// The results export: radial deflections and the four principal-stress
// arrays of the results model, in the selected unit system, as a
// semicolon-separated text file for spreadsheets.
#include <string>

#include "model/CaseModel.h"
#include "solver/ResultsModel.h"

namespace velta {

// The export's text, lines ended by CR LF.
std::string composeResultsExport(const CaseModel& m, const ResultsModel& r);

// ExporterResults: writes the export to `path`, replacing any file there.
// The file is replaced only once the whole text is written. Throws
// FileWriteError with the system's message.
void ExporterResults(const CaseModel& m, const ResultsModel& r, const std::string& path);

}  // namespace velta
