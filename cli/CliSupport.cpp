#include "cli/CliSupport.h"

#include <QCoreApplication>
#include <QDir>

#include "deck/DeckReader.h"
#include "model/Units.h"

namespace velta::cli {

void StderrSink::show(MessageKind, const std::string& text)
{
    ++count;
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

BatchSession::BatchSession()
{
    std::string dir = QDir::currentPath().toStdString();
    if (QCoreApplication::instance())
        dir = QCoreApplication::applicationDirPath().toStdString();
    session.model.ProgramDir = dir + "/";
    for (auto& f : session.model.CaseFile) f = "VELTA";
    session.Initialisation();
}

bool openCase(Session& s, const std::string& path)
{
    s.main.tabs.push_back("calc_" + std::to_string(s.main.tabs.size()));
    s.main.tabIndex = static_cast<int>(s.main.tabs.size()) - 1;
    s.Initialisation();
    s.model.CaseFile[s.currentSlot()] = path;
    s.main.caption = path;
    bool accepted = true;
    try {
        LectureDonnees(s, accepted, path);
    } catch (const std::exception& e) {
        s.messages.error(e.what());
        return false;
    }
    return accepted && s.main.caseValidated();
}

void switchToSI(Session& s)
{
    s.model.UnitSystem = 1 - s.model.UnitSystem;
    s.main.UniteMenuCaption = unitMenuCaption(s.model.UnitSystem);
}

}  // namespace velta::cli
