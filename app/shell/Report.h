#pragma once
// The calculation report: the case as entered, the method and checks of the
// analysis taken from the engine's report (.OUT), the views as vector
// figures and the tables of the main results, as an A4 PDF with a title
// block and a page number on every page. Composed in memory and written
// through the checked file writer.
#include <QByteArray>
#include <QDateTime>
#include <string>
#include <vector>

#include "app/shell/Session.h"

namespace velta {

struct ReportSources {
    std::string caseFile; // the case file named in the title block
    std::string outText;  // the engine's report (.OUT); empty when there is none
    QDateTime when;       // date and time in the title block
};

// The program's version as the title block names it.
std::string programVersion();

// Lines of the engine's report that describe the analysis: the block that
// opens with a heading naming the analysis or the method on the first page,
// and every line naming the mesh or the convergence. Blank lines dropped.
std::vector<std::string> methodLines(const std::string& outText);
// The equilibrium check: the block under a heading naming the equilibrium,
// up to the next page or the end of the report.
std::vector<std::string> equilibriumLines(const std::string& outText);

// An extreme of a result array over the used slots and their stored points,
// in the layer UnitSystem selects; slot -1 when there is no point.
struct ResultExtreme {
    double value = 0;
    int slot = -1;
    double elevation = 0; // in the layer UnitSystem selects
};
ResultExtreme smallestResult(const Session& s, const TabResult& values, const TabResult& elevations,
                             const std::array<int, kConsSlots>& count);
ResultExtreme largestResult(const Session& s, const TabResult& values, const TabResult& elevations,
                            const std::array<int, kConsSlots>& count);

// The whole report as PDF bytes. The session is not changed: the figures
// are drawn on a copy. Throws std::runtime_error when no PDF could be made.
QByteArray composeReportPdf(const Session& s, const ReportSources& sources);

// Composes the report and writes it to `path`, replacing a file there only
// once the whole report is written. Throws FileWriteError.
void writeReport(const Session& s, const ReportSources& sources, const std::string& path);

// Whether the window offers the report: results were read and no change
// of the case has made them out of date since.
bool reportAvailable(const Session& s);

} // namespace velta
