#pragma once
// The engine's two result files: the compact tables (.PLT) and the full
// report (.OUT), in the fixed columns that the program's results reader cuts.
#include <string>

#include "engine/Engine.h"

namespace velta::engine {

std::string composePlt(const CaseModel& m, const AnalysisResult& r);
std::string composeOut(const CaseModel& m, const AnalysisResult& r);
// The report of a case that could not be analysed: the reason first.
std::string composeFailure(const std::string& caseName, const std::string& reason);

// A number right-aligned in `width` characters with up to `decimals`
// decimals, fewer when it would not fit, and in exponent form as a last
// resort; a width of 0 leaves the width free. Exposed for the tests.
std::string fitNumber(double x, int width, int decimals);
// Degrees and minutes of a principal direction as the results reader reads
// them back (fields of 3 characters each).
std::string degreesMinutes(double angle);

} // namespace velta::engine
