#include "cli/CliSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>

#include "forms/DeckReader.h"
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

bool tablesWhole(Session& s, const ResultsReadOutcome& read, const std::string& plt, const std::string& command)
{
    int deflections = 0, stresses = 0;
    for (int c = 0; c < kConsSlots; ++c) {
        deflections += s.results.ResDeflCount[c];
        stresses += s.results.ResStressCount[c];
    }
    if (deflections == 0 || stresses == 0) {
        s.messages.error(command + ": " + plt +
                         (deflections == 0 && stresses == 0 ? " holds neither deflections nor stresses"
                          : deflections == 0                ? " holds no deflections"
                                                            : " holds no principal stresses"));
        return false;
    }
    if (read.pltCutShort) {
        s.messages.error(command + ": " + plt +
                         " ends before the end of its deflection and stress tables: it is cut short");
        return false;
    }
    return true;
}

void switchToSI(Session& s)
{
    s.model.UnitSystem = 1 - s.model.UnitSystem;
    s.main.UniteMenuCaption = unitMenuCaption(s.model.UnitSystem);
}

namespace {

void toolkitMessage(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", text.toStdString().c_str());
}

}  // namespace

bool ensureGuiApplication(char** argv, const std::string& command, std::unique_ptr<QGuiApplication>& app)
{
    if (!QCoreApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(toolkitMessage);
        static int appArgc = 1;
        app = std::make_unique<QGuiApplication>(appArgc, argv);
        return true;
    }
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return true;
    std::fprintf(stderr, "%s: no graphical application to draw with\n", command.c_str());
    return false;
}

}  // namespace velta::cli
