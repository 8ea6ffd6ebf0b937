// The analysis run through the real main window, offscreen, against a
// stand-in engine: a shell script that waits a little and copies sample
// outputs into place.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <clocale>
#include <deque>
#include <filesystem>
#include <map>

#include "app/MainWindow.h"
#include "app/ReportWindow.h"
#include "forms/DeckReader.h"
#include "support/TestSupport.h"

using namespace velta;
using velta::test::TempDir;
using velta::test::testData;

namespace {

// The application of the test program, made by main() below so that it is
// gone before the program's static objects are destroyed.
QApplication& app()
{
    return *qApp;
}

class ScriptedDialogs : public ShellDialogs {
public:
    int openCalls = 0;
    std::deque<Answer> answers;
    std::vector<std::string> questions;
    std::optional<std::string> openFile() override
    {
        ++openCalls;
        return std::nullopt;
    }
    std::optional<std::string> saveFile(const std::string&) override { return std::nullopt; }
    Answer askYesNoCancel(const std::string& text) override
    {
        questions.push_back(text);
        if (answers.empty()) return Answer::Cancel;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
};

bool allWhite(const QImage& img)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) return false;
    return true;
}

struct RunWindow : ::testing::Test {
    QApplication& a = app();
    TempDir prog;
    ListSink sink;
    FixedPrompter prompter;
    Session s{sink, prompter};
    ScriptedDialogs dialogs;
    TPrincipaleFiche w{s, dialogs};
    std::vector<QUrl> opened;

    void SetUp() override
    {
        w.openDocument = [this](const QUrl& u) {
            opened.push_back(u);
            return true;
        };
        w.FormActivate(prog.path(), QSize(1024, 768));
        bool accepted = true;
        // The case of the sample results: three arches, cantilever slots 18 to 22.
        LectureDonnees(s, accepted, testData("decks/results_case.dat"));
        ASSERT_TRUE(accepted);
        ASSERT_TRUE(s.main.caseValidated());
        w.syncFromState();
    }
    // The stand-in engine: waits, then writes the sample outputs under the
    // base name it is given, in the folder it runs in. The script becomes
    // the waiting program itself (exec), so a stopped run leaves no process.
    void writeEngine(const std::string& wait)
    {
        const std::string path = prog.file("VELTA_DOS.exe");
        test::writeFile(path, "#!/bin/sh\nexec '" VELTA_STAND_IN_ENGINE "' " + wait + " '" +
                                  testData("results/results_case.OUT") + "' \"$1.OUT\" '" +
                                  testData("results/VELTA0.PLT") + "' \"$1.PLT\"\n");
        QFile::setPermissions(QString::fromStdString(path),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void TearDown() override
    {
        // Windows shown by a test are closed with the events they left.
        w.hide();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    QAction* action(const char* name) { return w.findChild<QAction*>(QString::fromUtf8(name)); }
    QPushButton* button(const char* name) { return w.findChild<QPushButton*>(QString::fromUtf8(name)); }
    bool exists(const char* name) { return QFile::exists(QString::fromStdString(prog.file(name))); }
    // Opens the Analysis menu as the user does: its items are refreshed.
    void openAnalysisMenu() { w.Calcul1Click(); }
};

TEST_F(RunWindow, RunKeepsTheWindowLiveRefusesCommandsAndShowsTheResults)
{
    writeEngine("0.6");
    w.show();
    s.view.ValuesMode = 1;
    openAnalysisMenu();
    EXPECT_TRUE(action("LancerCalculMenu")->isEnabled());
    EXPECT_FALSE(action("Resultsfilemenu")->isEnabled());
    EXPECT_FALSE(action("ExportResultsMenu")->isEnabled());
    EXPECT_FALSE(action("StopMenu")->isEnabled());

    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(20);

    struct During {
        bool checked = false, running = false, runEnabled = true, stopEnabled = false, lineShown = false;
        bool busyCursor = false, closed = true;
        int openCalls = -1, tabs = -1;
        QString status;
    } during;
    QTimer::singleShot(200, [&] {
        during.checked = true;
        during.running = s.main.analysisRunning;
        openAnalysisMenu();
        during.runEnabled = action("LancerCalculMenu")->isEnabled();
        during.stopEnabled = action("StopMenu")->isEnabled();
        during.lineShown = !w.findChild<QLabel*>("RunLabel")->isHidden() && !button("StopButton")->isHidden();
        during.busyCursor =
            QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::BusyCursor;
        // A second run, Open, Duplicate, Close and leaving wait for the end.
        w.LancerCalculMenuClick();
        w.OuvrirMenuClick();
        w.tabDupliquermenuClick();
        w.TabFermerMenuClick();
        dialogs.answers = {Answer::No}; // do not stop
        during.closed = w.close();
        during.openCalls = dialogs.openCalls;
        during.tabs = static_cast<int>(s.main.tabs.size());
        during.status = w.statusBar()->currentMessage();
    });

    action("LancerCalculMenu")->trigger();
    timer.stop();

    ASSERT_TRUE(during.checked) << "the run returned before the timer fired";
    EXPECT_TRUE(during.running);
    EXPECT_FALSE(during.runEnabled);
    EXPECT_TRUE(during.stopEnabled);
    EXPECT_TRUE(during.lineShown);
    EXPECT_TRUE(during.busyCursor);
    EXPECT_EQ(during.openCalls, 0);
    EXPECT_EQ(during.tabs, 1);
    EXPECT_FALSE(during.closed);
    EXPECT_EQ(during.status, QString::fromUtf8(kWaitForRunText));
    EXPECT_EQ(dialogs.questions, std::vector<std::string>{kStopBeforeExitText});
    EXPECT_GT(ticks, 10) << "events were not processed during the run";

    // Afterwards: the results read, their views enabled, the 3D view shown.
    EXPECT_TRUE(sink.entries.empty()) << sink.texts().front();
    EXPECT_FALSE(s.main.analysisRunning);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(w.findChild<QLabel*>("RunLabel")->isHidden());
    EXPECT_EQ(s.main.tabs, std::vector<std::string>{"calc_0"});
    EXPECT_TRUE(exists("VELTA0.DAT"));
    for (const char* name : {"DeformeeButton", "SiButton", "FappuiButton", "LoadButton", "GeometrieButton3d",
                             "PlusButton", "MoinsButton", "ValeurButton"})
        EXPECT_TRUE(button(name)->isEnabled()) << name;
    EXPECT_EQ(s.view.ViewKind, kView3D);
    EXPECT_EQ(s.view.ValuesMode, 0);
    EXPECT_TRUE(button("GeometrieButton3d")->isChecked());
    EXPECT_FALSE(allWhite(w.mainImage()->image()));
    EXPECT_TRUE(w.mainImage()->toolTip().contains("Rotation:Ctrl+Clique gauche\n"));

    openAnalysisMenu();
    EXPECT_TRUE(action("LancerCalculMenu")->isEnabled());
    EXPECT_TRUE(action("Resultsfilemenu")->isEnabled());
    EXPECT_TRUE(action("ExportResultsMenu")->isEnabled());

    action("Resultsfilemenu")->trigger();
    ASSERT_NE(w.reportWindow(), nullptr);
    EXPECT_TRUE(w.reportWindow()->isVisible());
    w.reportWindow()->hide();

    // The export asks for a file, writes it, and reports a file it cannot write.
    std::vector<SaveDialogRequest> asked;
    std::optional<QString> answer = QString::fromStdString(prog.file("results.csv"));
    w.askSaveFile = [&](const SaveDialogRequest& r) {
        asked.push_back(r);
        return answer;
    };
    action("ExportResultsMenu")->trigger();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].objectName, "ExportDialog");
    EXPECT_EQ(asked[0].defaultSuffix, "csv");
    EXPECT_EQ(asked[0].filters, (QStringList{"csv (*.csv)", "txt (*.txt)"}));
    EXPECT_EQ(test::readFile(prog.file("results.csv"))
                  .rfind("VELTA Results for quick analyses with spreadsheets\r\n", 0),
              0u);
    EXPECT_TRUE(sink.entries.empty());
    answer = QString::fromStdString(prog.file("no/such/folder/results.csv"));
    action("ExportResultsMenu")->trigger();
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_EQ(sink.entries[0].kind, MessageKind::Error);
    answer = std::nullopt;
    action("ExportResultsMenu")->trigger();
    EXPECT_EQ(sink.entries.size(), 1u);
}

TEST_F(RunWindow, StopEndsTheRunSaysSoOnceAndReadsNothing)
{
    writeEngine("5");
    // Outputs of an earlier run of the tab exist; they never pass for the
    // stopped run's.
    test::writeFile(prog.file("VELTA0.OUT"), "earlier");
    QTimer::singleShot(200, [&] { button("StopButton")->click(); });
    QElapsedTimer clock;
    clock.start();
    action("LancerCalculMenu")->trigger();
    EXPECT_LT(clock.elapsed(), 4000);
    EXPECT_FALSE(s.main.analysisRunning);
    EXPECT_TRUE(sink.entries.empty()) << sink.texts().front();
    EXPECT_EQ(w.statusBar()->currentMessage(), QString::fromUtf8(kStoppedText));
    EXPECT_FALSE(exists("VELTA0.OUT"));
    EXPECT_FALSE(exists("VELTA0.PLT"));
    EXPECT_FALSE(button("DeformeeButton")->isEnabled());
    EXPECT_FALSE(button("GeometrieButton3d")->isEnabled());
    EXPECT_EQ(s.view.ViewKind, kView2D);
    EXPECT_TRUE(button("GeometrieButton")->isChecked());
    openAnalysisMenu();
    EXPECT_FALSE(action("ExportResultsMenu")->isEnabled());
}

TEST_F(RunWindow, ClosingDuringTheRunStopsItThenAsksTheExitQuestion)
{
    writeEngine("5");
    w.show();
    // Stop the analysis: yes; save before exit: no.
    s.main.caseModified[0] = true;
    dialogs.answers = {Answer::Yes, Answer::No};
    bool closeAccepted = true;
    QTimer::singleShot(200, [&] { closeAccepted = w.close(); });
    QElapsedTimer clock;
    clock.start();
    action("LancerCalculMenu")->trigger();
    EXPECT_LT(clock.elapsed(), 4000);
    EXPECT_FALSE(closeAccepted); // the close waits for the run to end
    ASSERT_EQ(dialogs.questions.size(), 2u);
    EXPECT_EQ(dialogs.questions[0], kStopBeforeExitText);
    EXPECT_EQ(dialogs.questions[1].rfind(kExitQuestionText, 0), 0u);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(sink.entries.empty()) << sink.texts().front();
}

TEST_F(RunWindow, AnalysisMenuFollowsTheMarksAndTheReport)
{
    struct Case {
        bool geometry, material, loads, report;
    };
    const Case cases[] = {
        {true, true, true, false},  {true, true, true, true},  {false, true, true, true},
        {true, false, true, false}, {true, true, false, true},
    };
    for (const Case& c : cases) {
        s.main.GeometrieMenu = c.geometry;
        s.main.MateriauxMenu = c.material;
        s.main.ChargementMenu = c.loads;
        QFile::remove(QString::fromStdString(prog.file("VELTA0.OUT")));
        if (c.report) test::writeFile(prog.file("VELTA0.OUT"), "report");
        openAnalysisMenu();
        const bool all = c.geometry && c.material && c.loads;
        EXPECT_EQ(action("LancerCalculMenu")->isEnabled(), all);
        EXPECT_EQ(action("Resultsfilemenu")->isEnabled(), c.report);
        EXPECT_EQ(action("ExportResultsMenu")->isEnabled(), c.report);
    }
}

TEST_F(RunWindow, EngineThatCannotStartIsReportedOnceAndTheResultsAreMissing)
{
    // No VELTA_DOS.exe in the program folder.
    action("LancerCalculMenu")->trigger();
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"Error starting Calc!"});
    EXPECT_FALSE(button("DeformeeButton")->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // No cantilever geometry: the case is shown in 2D, not an empty 3D view.
    EXPECT_EQ(s.view.ViewKind, kView2D);
    EXPECT_TRUE(button("GeometrieButton")->isChecked());
}

// Run, export and picture of the window under a language with a decimal
// comma (in this process and in the engine's) give the bytes of the C locale.
TEST_F(RunWindow, CommaLocaleWritesTheSameFilesAsTheCLocale)
{
    const std::string comma = test::commaLocale();
    if (comma.empty()) GTEST_SKIP() << "no comma-decimal locale is installed";
    std::filesystem::copy_file(std::string(VELTA_BIN_DIR) + "/VELTA_DOS.exe", prog.file("VELTA_DOS.exe"));
    bool accepted = true;
    LectureDonnees(s, accepted, std::string(VELTA_SOURCE_DIR) + "/examples/simple.dat");
    ASSERT_TRUE(accepted);
    w.syncFromState();
    std::string target;
    w.askSaveFile = [&](const SaveDialogRequest&) { return std::optional<QString>(QString::fromStdString(target)); };

    auto runIn = [&](const std::string& locale) {
        for (const char* name : {"LANG", "LC_ALL"}) qputenv(name, QByteArray::fromStdString(locale));
        std::setlocale(LC_ALL, locale.c_str());
        action("LancerCalculMenu")->trigger();
        openAnalysisMenu();
        target = prog.file("export.csv");
        action("ExportResultsMenu")->trigger();
        target = prog.file("view.png");
        action("SavePictureMenu")->trigger();
        std::map<std::string, std::string> files;
        for (const char* name : {"VELTA0.DAT", "VELTA0.OUT", "VELTA0.PLT", "export.csv", "view.png"})
            files[name] = test::readFile(prog.file(name));
        return files;
    };
    const auto inC = runIn("C");
    const auto inComma = runIn(comma);
    std::setlocale(LC_ALL, "C");
    for (const char* name : {"LANG", "LC_ALL"}) qunsetenv(name);

    EXPECT_TRUE(sink.entries.empty()) << sink.texts().front();
    EXPECT_NE(inC.at("VELTA0.PLT").find("1200.00"), std::string::npos);
    for (const auto& [name, bytes] : inC) EXPECT_TRUE(inComma.at(name) == bytes) << name;
}

} // namespace
