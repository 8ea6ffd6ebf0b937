#include "app/shell/SolverRun.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include "deck/DeckWriter.h"
#include "forms/DeckReader.h"
#include "forms/CaseChecks.h"

namespace velta {

namespace {

class QProcessRunner : public ProcessRunner {
public:
    bool start(const std::string& program, const std::vector<std::string>& args, const std::string& workDir) override
    {
        QStringList a;
        for (const auto& s : args) a << QString::fromStdString(s);
        process_.setProgram(QString::fromStdString(program));
        process_.setArguments(a);
        process_.setWorkingDirectory(QString::fromStdString(workDir));
        // The engine's level is what the arguments say, never a variable
        // left in the user's environment.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("VELTA_LEVEL");
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::ForwardedChannels);
        process_.start();
        return process_.waitForStarted(10000);
    }
    void wait() override
    {
        if (process_.state() == QProcess::NotRunning) return;
        QEventLoop loop;
        QObject::connect(&process_, &QProcess::finished, &loop, &QEventLoop::quit);
        QObject::connect(&process_, &QProcess::errorOccurred, &loop, [&loop, this] {
            if (process_.state() == QProcess::NotRunning) loop.quit();
        });
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &loop, &QEventLoop::quit);
        if (process_.state() != QProcess::NotRunning) loop.exec();
    }
    void stop() override
    {
        if (process_.state() == QProcess::NotRunning) return;
        process_.kill();
        process_.waitForFinished(5000);
    }
    bool running() const override { return process_.state() != QProcess::NotRunning; }

private:
    QProcess process_;
};

}  // namespace

std::unique_ptr<ProcessRunner> makeQProcessRunner() { return std::make_unique<QProcessRunner>(); }

std::string enginePath(const Session& s) { return s.model.ProgramDir + "VELTA_DOS.exe"; }

std::string engineFailure(const Session& s, int slot)
{
    const QString out = QString::fromStdString(s.scratchFile(slot, ".OUT"));
    const QString plt = QString::fromStdString(s.scratchFile(slot, ".PLT"));
    QFile report(out);
    if (report.open(QIODevice::ReadOnly)) {
        const QString first = QString::fromLatin1(report.readLine(4096)).trimmed();
        if (first.startsWith(QLatin1String(kNotDoneMark))) return first.toStdString();
    }
    if (QFile::exists(plt)) return {};
    const QFileInfo p(plt), o(out);
    std::string text = "The analysis gave no results: the engine wrote no " + p.fileName().toStdString();
    if (!o.exists()) text += " and no " + o.fileName().toStdString();
    return text + " in " + p.absolutePath().toStdString();
}

namespace {
void dropResults(Session& s, const RunHooks& hooks)
{
    s.results.reset();
    s.main.disableResultControls();
    if (hooks.noResults) hooks.noResults();
}
}  // namespace

bool LancerCalcul(Session& s, ProcessRunner& runner, const RunHooks& hooks, const std::vector<std::string>& engineArgs)
{
    // An arch without the rock moduli or the grout arch the analysis needs
    // would be analysed with values nobody entered.
    if (const auto missing = missingArchValue(s.model)) {
        s.messages.error(*missing);
        return false;
    }
    if (s.main.tabIndex < 0) {
        s.main.tabs.push_back("calc_0");
        s.main.tabIndex = static_cast<int>(s.main.tabs.size()) - 1;
    }
    const int n = s.main.tabIndex;
    try {
        EnregistrerDonnees(s, s.scratchFile(n, ".DAT"));
    } catch (const std::exception& e) {
        s.messages.error(e.what());
        return false;
    }
    QFile::remove(QString::fromStdString(s.scratchFile(n, ".OUT")));
    QFile::remove(QString::fromStdString(s.scratchFile(n, ".PLT")));

    const std::string dir = s.scratchDir.empty() ? s.model.ProgramDir : s.scratchDir;
    // Whatever the run gives belongs to the data just written.
    s.main.resultsStale[n] = false;
    s.main.analysisRunning = true;
    if (hooks.runningChanged) hooks.runningChanged();
    std::vector<std::string> args{"VELTA" + std::to_string(n)};
    args.insert(args.end(), engineArgs.begin(), engineArgs.end());
    const bool started = runner.start(enginePath(s), args, dir);
    if (started) {
        runner.wait();
    } else {
        s.messages.show(MessageKind::Plain, "Error starting Calc!");
    }
    s.main.analysisRunning = false;
    if (hooks.runningChanged) hooks.runningChanged();
    s.view.ValuesMode = 0;

    if (hooks.stopped && hooks.stopped()) {
        // What a stopped engine left is not an analysis of the case.
        QFile::remove(QString::fromStdString(s.scratchFile(n, ".OUT")));
        QFile::remove(QString::fromStdString(s.scratchFile(n, ".PLT")));
        dropResults(s, hooks);
        return true;
    }
    if (!started) {
        dropResults(s, hooks);
        return true;
    }
    const std::string failure = engineFailure(s, n);
    if (!failure.empty()) {
        s.messages.error(failure);
        dropResults(s, hooks);
        return true;
    }
    if (hooks.readResults) hooks.readResults();
    if (hooks.show3D) hooks.show3D();
    return true;
}

}  // namespace velta
