#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include "solver/SolverRun.h"
#include "support/TestSupport.h"

using namespace velta;

namespace {

QCoreApplication& app()
{
    static int argc = 1;
    static char name[] = "test_solver_run";
    static char* argv[] = {name, nullptr};
    static QCoreApplication a(argc, argv);
    return a;
}

// A stand-in engine: a script that waits a little and writes its outputs.
void writeEngine(const std::string& dir, const std::string& body)
{
    const std::string path = dir + "VELTA_DOS.exe";
    test::writeFile(path, "#!/bin/sh\n" + body);
    QFile::setPermissions(QString::fromStdString(path),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// A minimal complete case for the deck writer.
void fillCase(Session& s)
{
    auto& m = s.model;
    m.DamName[0] = "Run";
    m.TopElev = {1200, 0};
    m.BaseElev = {1000, 0};
    m.Radius = m.RadiusR = {500, 0};
    for (int t = 0; t < kFaceTabs; ++t) {
        auto& tab = m.FaceTab[t];
        tab(0, 0, 0) = "1000";
        tab(0, 1, 0) = t == 1 ? "30" : (t >= 2 ? "500" : "0");
        tab(0, 0, 1) = "1200";
        tab(0, 1, 1) = tab(0, 1, 0);
        tab(0, 2, 1) = "0";
        m.FaceRows[t] = 1;
    }
    m.NbArcs = 2;
    m.ArcTab(0, 0, 0) = "1000";
    m.ArcTab(0, 1, 0) = "1";
    m.ArcTab(0, 0, 1) = "1200";
    m.ArcTab(0, 1, 1) = "0";
    m.ArcTab(0, 2, 1) = "50";
    m.ArcTab(0, 3, 1) = "50";
    s.geo.NbCenterEdit = 1;
}

}  // namespace

TEST(SolverRun, RunsTheEngineInTheScratchFolderAndKeepsEventsFlowing)
{
    app();
    test::TempDir prog, scratch;
    writeEngine(prog.path(), "sleep 0.3\n[ \"$1\" = VELTA0 ] || exit 3\n[ -f VELTA0.DAT ] || exit 4\n"
                             "echo out > VELTA0.OUT\necho plt > VELTA0.PLT\n");
    ListSink sink;
    FixedPrompter prompter;
    Session s(sink, prompter);
    s.model.ProgramDir = prog.path();
    s.scratchDir = scratch.path();
    fillCase(s);
    // Outputs of an earlier run never survive into the new one.
    test::writeFile(scratch.file("VELTA0.OUT"), "stale");

    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(20);
    bool sawRunning = false, read = false, shown = false;
    s.view.ValuesMode = 2;
    auto runner = makeQProcessRunner();
    RunHooks hooks;
    hooks.runningChanged = [&] { sawRunning |= s.main.analysisRunning; };
    hooks.readResults = [&] {
        read = true;
        EXPECT_EQ(test::readFile(scratch.file("VELTA0.OUT")), "out\n");
    };
    hooks.show3D = [&] { shown = read; };
    EXPECT_TRUE(LancerCalcul(s, *runner, hooks));

    EXPECT_EQ(s.main.tabs, std::vector<std::string>{"calc_0"});
    EXPECT_EQ(s.main.tabIndex, 0);
    EXPECT_GT(ticks, 3) << "the event loop kept running during the analysis";
    EXPECT_TRUE(sawRunning);
    EXPECT_FALSE(s.main.analysisRunning);
    EXPECT_TRUE(read);
    EXPECT_TRUE(shown);
    EXPECT_EQ(s.view.ValuesMode, 0);
    EXPECT_TRUE(sink.entries.empty());
}

TEST(SolverRun, AnEngineThatCannotStartIsReportedAndResultsAreStillRead)
{
    app();
    test::TempDir prog;
    ListSink sink;
    FixedPrompter prompter;
    Session s(sink, prompter);
    s.model.ProgramDir = prog.path();  // no engine there
    fillCase(s);
    test::writeFile(prog.file("VELTA0.PLT"), "stale");
    bool read = false;
    auto runner = makeQProcessRunner();
    EXPECT_TRUE(LancerCalcul(s, *runner, {[&] { read = true; }, nullptr, nullptr}));
    ASSERT_EQ(sink.texts(), std::vector<std::string>{"Error starting Calc!"});
    EXPECT_TRUE(read);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(prog.file("VELTA0.PLT"))));
}

TEST(SolverRun, AStoppedRunEndsTheWait)
{
    app();
    test::TempDir prog;
    writeEngine(prog.path(), "sleep 30\n");
    ListSink sink;
    FixedPrompter prompter;
    Session s(sink, prompter);
    s.model.ProgramDir = prog.path();
    fillCase(s);
    auto runner = makeQProcessRunner();
    QTimer::singleShot(200, [&] { runner->stop(); });
    bool read = false;
    EXPECT_TRUE(LancerCalcul(s, *runner, {[&] { read = true; }, nullptr, nullptr}));
    EXPECT_TRUE(read);
    EXPECT_FALSE(runner->running());
}

TEST(SolverRun, ADeckThatCannotBeWrittenStopsTheRun)
{
    app();
    test::TempDir prog;
    ListSink sink;
    FixedPrompter prompter;
    Session s(sink, prompter);
    s.model.ProgramDir = prog.path();
    fillCase(s);
    s.model.ArcTab(0, 0, 1) = "x";
    bool read = false;
    auto runner = makeQProcessRunner();
    EXPECT_FALSE(LancerCalcul(s, *runner, {[&] { read = true; }, nullptr, nullptr}));
    EXPECT_FALSE(read);
    ASSERT_EQ(sink.entries.size(), 1u);
}
