#include "solver/Export.h"

#include <algorithm>

#include "deck/DeckWriter.h"
#include "model/Numbers.h"

namespace velta {

namespace {

constexpr const char* kEol = "\r\n";

// One block: title, header, one row per point of the crown slot, an empty line.
void writeBlock(std::string& out, const CaseModel& m, const std::string& title, const TabResult& elev,
                const TabResult& values, const std::array<int, kConsSlots>& count, double scale)
{
    const int u = m.UnitSystem == kSI ? kSI : kImperial;
    const int first = std::max(m.FirstCons, 0);
    const int last = std::min(m.LastCons, kConsSlots - 1);
    out += title + kEol;
    out += u == kSI ? "elevation (m);" : "elevation (ft);";
    for (int c = first; c <= last; ++c) out += "console" + std::to_string(c) + ";";
    out += kEol;
    const int rows = std::clamp(count[kCrownSlot], 0, kResultPoints);
    for (int i = 0; i < rows; ++i) {
        out += formatFixed(elev[u][kCrownSlot][i], 3) + ";";
        for (int c = first; c <= last; ++c) {
            // Points are lined up across slots by their index; a shorter slot
            // leaves an empty cell.
            if (count[c] - 1 < i) out += " ; ";
            else out += formatFixed(values[u][c][i] * scale, 4) + ";";
        }
        out += kEol;
    }
    out += kEol;
}

}  // namespace

std::string composeResultsExport(const CaseModel& m, const ResultsModel& r)
{
    const bool si = m.UnitSystem == kSI;
    const std::string unit = si ? "(MPa)" : "(Psi)";
    std::string out;
    out += std::string("VELTA Results for quick analyses with spreadsheets") + kEol;
    out += kEol;
    // Deflections in inches or millimetres.
    writeBlock(out, m, si ? "Radial Deflection in mm" : "Radial Deflection in inches", r.ResDeflElev,
               r.ResDeflection, r.ResDeflCount, si ? 1000.0 : 12.0);
    writeBlock(out, m, "First Principal stresses on upstream face " + unit, r.ResStressElev, r.ResPrin1Up,
               r.ResStressCount, 1.0);
    writeBlock(out, m, "Second Principal stresses on upstream face " + unit, r.ResStressElev, r.ResPrin2Up,
               r.ResStressCount, 1.0);
    writeBlock(out, m, "First Principal stresses on downstream face " + unit, r.ResStressElev, r.ResPrin1Down,
               r.ResStressCount, 1.0);
    writeBlock(out, m, "Second Principal stresses on downstream face " + unit, r.ResStressElev,
               r.ResPrin2Down, r.ResStressCount, 1.0);
    return out;
}

void ExporterResults(const CaseModel& m, const ResultsModel& r, const std::string& path)
{
    writeFileAtomically(path, composeResultsExport(m, r));
}

}  // namespace velta
