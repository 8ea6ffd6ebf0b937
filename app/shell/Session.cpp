#include "app/shell/Session.h"

namespace velta {

std::string Session::scratchFile(int slot, const std::string& ext) const
{
    const std::string& dir = scratchDir.empty() ? model.ProgramDir : scratchDir;
    return dir + "VELTA" + std::to_string(slot) + ext;
}

void Session::Initialisation()
{
    main.caption = "VELTA";
    model.resetCaseTables();
    loads.GroutComboBox.clear();
    loads.groutSelected = -1;
    main.disableViewControls();
}

namespace {

ResultsReadOutcome showControls(Session& s, const ResultsReadOutcome& read)
{
    s.main.setResultControls(read.deflections, read.stresses, read.sections, read.forces);
    return read;
}

}  // namespace

ResultsReadOutcome readResults(Session& s, const std::string* pltBytes, const std::string* outBytes,
                               const std::string& folder)
{
    return showControls(
        s, readResults(s.results, s.model, s.geo.NbCenterEdit, s.messages, pltBytes, outBytes, folder));
}

ResultsReadOutcome LectureResultats(Session& s, const std::string& pltPath, const std::string& outPath,
                                    const std::string& folder)
{
    return showControls(
        s, LectureResultats(s.results, s.model, s.geo.NbCenterEdit, s.messages, pltPath, outPath, folder));
}

void LectureResultats(Session& s)
{
    const int n = s.currentSlot();
    const std::string folder = s.scratchDir.empty() ? s.model.ProgramDir : s.scratchDir;
    LectureResultats(s, s.scratchFile(n, ".PLT"), s.scratchFile(n, ".OUT"), folder);
}

}  // namespace velta
