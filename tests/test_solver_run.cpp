#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include "app/shell/SolverRun.h"
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

TEST(SolverRun, AnEngineThatCannotStartIsReportedOnceAndNothingIsRead)
{
    app();
    test::TempDir prog;
    ListSink sink;
    FixedPrompter prompter;
    Session s(sink, prompter);
    s.model.ProgramDir = prog.path();  // no engine there
    fillCase(s);
    test::writeFile(prog.file("VELTA0.PLT"), "stale");
    s.main.DeformeeButton = true;
    bool read = false, without = false;
    auto runner = makeQProcessRunner();
    RunHooks hooks;
    hooks.readResults = [&] { read = true; };
    hooks.noResults = [&] { without = true; };
    EXPECT_TRUE(LancerCalcul(s, *runner, hooks));
    ASSERT_EQ(sink.texts(), std::vector<std::string>{"Error starting Calc!"});
    EXPECT_FALSE(read);
    EXPECT_TRUE(without);
    EXPECT_FALSE(s.main.DeformeeButton);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(prog.file("VELTA0.PLT"))));
}

// What the engine leaves decides between reading the results and one message
// that says why there are none.
TEST(SolverRun, AnEngineWithoutResultsIsReportedInOneMessage)
{
    app();
    struct Case {
        const char* script;
        const char* message;  // empty: the results are read
    };
    const Case cases[] = {
        {"printf ' ANALYSIS NOT DONE: the crest is below an arch\\r\\n\\r\\n VELTA\\r\\n' > $1.OUT\nexit 1\n",
         "ANALYSIS NOT DONE: the crest is below an arch"},
        // A refusal is the reason even beside a plot file.
        {"echo ' ANALYSIS NOT DONE: singular system' > $1.OUT\necho plt > $1.PLT\n",
         "ANALYSIS NOT DONE: singular system"},
        {"exit 2\n", "The analysis gave no results: the engine wrote no VELTA0.PLT and no VELTA0.OUT in "},
        {"echo report > $1.OUT\n", "The analysis gave no results: the engine wrote no VELTA0.PLT in "},
        {"echo report > $1.OUT\necho plt > $1.PLT\n", ""},
    };
    for (const Case& c : cases) {
        test::TempDir prog;
        writeEngine(prog.path(), c.script);
        ListSink sink;
        FixedPrompter prompter;
        Session s(sink, prompter);
        s.model.ProgramDir = prog.path();
        fillCase(s);
        s.main.resultsStale[0] = true;
        bool read = false, without = false;
        RunHooks hooks;
        hooks.readResults = [&] { read = true; };
        hooks.noResults = [&] { without = true; };
        auto runner = makeQProcessRunner();
        EXPECT_TRUE(LancerCalcul(s, *runner, hooks));
        EXPECT_FALSE(s.main.resultsStale[0]);
        const std::string expected = c.message;
        if (expected.empty()) {
            EXPECT_TRUE(read);
            EXPECT_TRUE(sink.entries.empty());
            continue;
        }
        EXPECT_FALSE(read) << c.script;
        EXPECT_TRUE(without);
        ASSERT_EQ(sink.entries.size(), 1u) << c.script;
        EXPECT_EQ(sink.entries[0].kind, MessageKind::Error);
        EXPECT_EQ(sink.entries[0].text.substr(0, expected.size()), expected);
        if (expected.back() == ' ') {
            EXPECT_EQ(sink.entries[0].text, expected + prog.path().substr(0, prog.path().size() - 1));
        }
    }
}

TEST(SolverRun, AStoppedRunEndsTheWaitAndReadsNothing)
{
    app();
    test::TempDir prog;
    writeEngine(prog.path(), "echo partial > $1.OUT\nexec sleep 30\n");
    ListSink sink;
    FixedPrompter prompter;
    Session s(sink, prompter);
    s.model.ProgramDir = prog.path();
    fillCase(s);
    auto runner = makeQProcessRunner();
    bool stopped = false;
    QTimer::singleShot(300, [&] {
        stopped = true;
        runner->stop();
    });
    bool read = false, without = false;
    RunHooks hooks;
    hooks.readResults = [&] { read = true; };
    hooks.noResults = [&] { without = true; };
    hooks.stopped = [&] { return stopped; };
    EXPECT_TRUE(LancerCalcul(s, *runner, hooks));
    EXPECT_FALSE(read);
    EXPECT_TRUE(without);
    EXPECT_FALSE(runner->running());
    EXPECT_TRUE(sink.entries.empty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(prog.file("VELTA0.OUT"))));
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
    RunHooks hooks;
    hooks.readResults = [&] { read = true; };
    EXPECT_FALSE(LancerCalcul(s, *runner, hooks));
    EXPECT_FALSE(read);
    ASSERT_EQ(sink.entries.size(), 1u);
}
