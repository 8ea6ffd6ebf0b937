// The main window's care of the user's cases and of the results it shows,
// offscreen: unsaved changes are marked and asked about, one file has one
// tab, the results of older data say so, and a run without results says why
// in one message.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <deque>

#include "app/LoadsDialog.h"
#include "app/MainWindow.h"
#include "app/ReportWindow.h"
#include "support/TestSupport.h"

using namespace velta;
using velta::test::TempDir;
using velta::test::testData;

namespace {

class ScriptedDialogs : public ShellDialogs {
public:
    std::deque<std::optional<std::string>> openReplies, saveReplies;
    std::deque<Answer> answers;
    std::vector<std::string> questions, startFolders;
    std::optional<std::string> openFile() override { return pop(openReplies); }
    std::optional<std::string> saveFile(const std::string&) override { return pop(saveReplies); }
    Answer askYesNoCancel(const std::string& text) override
    {
        questions.push_back(text);
        if (answers.empty()) return Answer::Cancel;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    void setStartFolder(const std::string& folder) override { startFolders.push_back(folder); }

private:
    static std::optional<std::string> pop(std::deque<std::optional<std::string>>& q)
    {
        if (q.empty()) return std::nullopt;
        auto v = q.front();
        q.pop_front();
        return v;
    }
};

struct CaseWindow : ::testing::Test {
    TempDir prog, docs, config;
    ListSink sink;
    FixedPrompter prompter;
    Session s{sink, prompter};
    ScriptedDialogs dialogs;
    std::unique_ptr<TPrincipaleFiche> window;

    void SetUp() override
    {
        // The recent files go to a folder of the test, never to the user's settings.
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(config.path()));
        window = std::make_unique<TPrincipaleFiche>(s, dialogs);
        w().openDocument = [](const QUrl&) { return true; };
        w().FormActivate(prog.path(), QSize(1024, 768));
    }
    void TearDown() override
    {
        window->hide();
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    TPrincipaleFiche& w() { return *window; }
    QAction* action(const char* name) { return w().findChild<QAction*>(QString::fromUtf8(name)); }
    QPushButton* button(const char* name) { return w().findChild<QPushButton*>(QString::fromUtf8(name)); }
    QTabBar* tabBar() { return w().findChild<QTabBar*>(QStringLiteral("TabControl")); }

    // Opens a copy of the sample deck named `name` through File, Open.
    std::string openDeck(const std::string& name)
    {
        const std::string path = docs.file(name);
        if (!QFile::exists(QString::fromStdString(path)))
            test::writeFile(path, test::readFile(testData("decks/results_case.dat")));
        dialogs.openReplies.push_back(path);
        action("OuvrirMenu")->trigger();
        return path;
    }
    // Types a reservoir level in the Loads editor and presses OK.
    void editReservoir(const char* level)
    {
        QTimer::singleShot(0, [this, level] {
            auto* loads = w().findChild<TChargementFiche*>(QStringLiteral("ChargementFiche"));
            ASSERT_NE(loads, nullptr);
            loads->findChild<QLineEdit*>(QStringLiteral("RweEdit"))->setText(QString::fromLatin1(level));
            loads->findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
        });
        action("ChargementMenu")->trigger();
    }
    // The stand-in engine: runs the given shell lines in the scratch folder.
    void writeEngine(const std::string& body)
    {
        const std::string path = prog.file("VELTA_DOS.exe");
        test::writeFile(path, "#!/bin/sh\n" + body);
        QFile::setPermissions(QString::fromStdString(path),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void writeGoodEngine()
    {
        writeEngine("cp '" + testData("results/results_case.OUT") + "' \"$1.OUT\"\ncp '" +
                    testData("results/VELTA0.PLT") + "' \"$1.PLT\"\n");
    }
};

TEST_F(CaseWindow, ModifiedCaseIsMarkedInItsTabAndTitleUntilSaved)
{
    const std::string alpha = openDeck("alpha.dat");
    ASSERT_TRUE(sink.entries.empty()) << sink.texts().front();
    EXPECT_EQ(tabBar()->tabText(0), "calc_0");
    EXPECT_EQ(w().windowTitle(), "alpha.dat");

    editReservoir("1150");
    EXPECT_EQ(tabBar()->tabText(0), "calc_0*");
    EXPECT_EQ(w().windowTitle(), "*alpha.dat");

    // An editor closed with OK and no change leaves the mark as it is.
    action("EnregistrerMenu")->trigger();
    EXPECT_EQ(tabBar()->tabText(0), "calc_0");
    EXPECT_NE(test::readFile(alpha).find("1150.000"), std::string::npos);
    editReservoir("1150");
    EXPECT_EQ(tabBar()->tabText(0), "calc_0");

    const std::pair<const char*, const char*> keys[] = {{"OuvrirMenu", "Ctrl+O"},
                                                        {"EnregistrerMenu", "Ctrl+S"},
                                                        {"EnregistrerSousMenu", "Ctrl+Shift+S"},
                                                        {"QuitterMenu", "Ctrl+Q"},
                                                        {"LancerCalculMenu", "F5"}};
    for (auto [name, key] : keys) EXPECT_EQ(action(name)->shortcut(), QKeySequence(QString::fromLatin1(key))) << name;
}

TEST_F(CaseWindow, ExitAndTheCloseBoxAskOnceAndSaveOnlyTheModifiedCases)
{
    const std::string alpha = openDeck("alpha.dat");
    const std::string beta = openDeck("beta.dat");
    const std::string alphaBytes = test::readFile(alpha), betaBytes = test::readFile(beta);
    w().show();
    dialogs.answers = {Answer::Cancel};
    editReservoir("1150");
    EXPECT_FALSE(w().close());
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0], "Do you want to save before exit?\n\nThis case has changes that are not "
                                    "saved:\n    calc_1 (beta.dat)");
    EXPECT_TRUE(w().isVisible());

    // Exit, Save: the modified case alone is written.
    dialogs.answers = {Answer::Yes};
    action("QuitterMenu")->trigger();
    EXPECT_EQ(dialogs.questions.size(), 2u);
    EXPECT_FALSE(w().isVisible());
    EXPECT_EQ(test::readFile(alpha), alphaBytes);
    EXPECT_NE(test::readFile(beta), betaBytes);
    EXPECT_TRUE(sink.entries.empty());
}

TEST_F(CaseWindow, ClosingATabAsksForItsChanges)
{
    openDeck("alpha.dat");
    const std::string beta = openDeck("beta.dat");
    const std::string betaBytes = test::readFile(beta);
    editReservoir("1150");
    dialogs.answers = {Answer::Cancel, Answer::No};
    action("TabFermerMenu")->trigger();
    EXPECT_EQ(tabBar()->count(), 2);
    action("TabFermerMenu")->trigger();
    EXPECT_EQ(tabBar()->count(), 1);
    EXPECT_EQ(dialogs.questions,
              std::vector<std::string>(2, "Do you want to save the changes of calc_1 (beta.dat) before closing it?"));
    EXPECT_EQ(test::readFile(beta), betaBytes);
}

TEST_F(CaseWindow, OpeningAnOpenFileSelectsItsTab)
{
    openDeck("alpha.dat");
    openDeck("beta.dat");
    editReservoir("1150");
    openDeck("alpha.dat");
    EXPECT_EQ(tabBar()->count(), 2);
    EXPECT_EQ(tabBar()->currentIndex(), 0);
    EXPECT_TRUE(w().statusBar()->currentMessage().contains("already open in tab calc_0"));
    // The other tab's edit is parked, not lost.
    EXPECT_EQ(tabBar()->tabText(1), "calc_1*");
    EXPECT_TRUE(sink.entries.empty());
    // The dialogs start in the folder of the selected case.
    ASSERT_FALSE(dialogs.startFolders.empty());
    EXPECT_EQ(dialogs.startFolders.back() + "/", docs.path());
}

TEST_F(CaseWindow, AFileThatIsNotADeckGivesOneWarningAndTheSelectedTabStays)
{
    openDeck("alpha.dat");
    openDeck("beta.dat");
    tabBar()->setCurrentIndex(0);
    ASSERT_EQ(s.main.tabIndex, 0);
    sink.clear();
    test::writeFile(docs.file("notes.txt"), "Nothing to do with dams\r\n");
    dialogs.openReplies.push_back(docs.file("notes.txt"));
    action("OuvrirMenu")->trigger();
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"Sorry, I don't think this is an VELTA file "});
    EXPECT_EQ(tabBar()->count(), 2);
    EXPECT_EQ(tabBar()->currentIndex(), 0);
    EXPECT_EQ(w().windowTitle(), "alpha.dat");
}

TEST_F(CaseWindow, RecentFilesListTheOpenedDecksNewestFirst)
{
    const std::string alpha = openDeck("alpha.dat");
    const std::string beta = openDeck("beta.dat");
    EXPECT_EQ(w().recentFiles(), (QStringList{QString::fromStdString(beta), QString::fromStdString(alpha)}));
    auto* recent = w().findChild<QMenu*>(QStringLiteral("RecentMenu"));
    ASSERT_NE(recent, nullptr);
    emit w().findChild<QMenu*>(QStringLiteral("FichierMenu"))->aboutToShow();
    ASSERT_EQ(recent->actions().size(), 2);
    EXPECT_TRUE(recent->actions()[1]->text().endsWith("alpha.dat"));
    recent->actions()[1]->trigger();
    EXPECT_EQ(tabBar()->currentIndex(), 0);

    // A file gone since is taken off the list with a message naming it.
    QFile::remove(QString::fromStdString(beta));
    w().openRecent(QString::fromStdString(beta));
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_NE(sink.entries[0].text.find(beta), std::string::npos);
    EXPECT_EQ(w().recentFiles(), QStringList{QString::fromStdString(alpha)});
}

TEST_F(CaseWindow, ResultsOfChangedDataSayTheyAreOutOfDate)
{
    writeGoodEngine();
    openDeck("alpha.dat");
    action("LancerCalculMenu")->trigger();
    ASSERT_TRUE(sink.entries.empty()) << sink.texts().front();
    button("DeformeeButton")->click();
    EXPECT_TRUE(w().mainImage()->notice().isEmpty());

    editReservoir("1150");
    button("DeformeeButton")->click();
    ASSERT_TRUE(button("DeformeeButton")->isChecked());
    EXPECT_EQ(w().mainImage()->notice(), QString::fromUtf8(kStaleResultsText));
    // The notice is part of what is shown, and of a saved picture.
    EXPECT_EQ(w().mainImage()->shownImage().pixel(3, 3) & 0xFFFFFF, 0xFFF4BEu);
    // The 2D view is the case as it is: no notice.
    button("GeometrieButton")->click();
    EXPECT_TRUE(w().mainImage()->notice().isEmpty());

    // The mark stays with the tab when it is parked and brought back.
    openDeck("beta.dat");
    tabBar()->setCurrentIndex(0);
    button("DeformeeButton")->click();
    EXPECT_EQ(w().mainImage()->notice(), QString::fromUtf8(kStaleResultsText));

    action("LancerCalculMenu")->trigger();
    button("DeformeeButton")->click();
    EXPECT_TRUE(w().mainImage()->notice().isEmpty());
    EXPECT_TRUE(sink.entries.empty());
}

TEST_F(CaseWindow, TheEnginesRefusalIsShownOnceAndNothingIsRead)
{
    writeEngine("printf ' ANALYSIS NOT DONE: the crest at 1040.00 ft is below the arch at 1050.00 ft\\r\\n' > "
                "\"$1.OUT\"\nexit 1\n");
    openDeck("alpha.dat");
    action("LancerCalculMenu")->trigger();
    ASSERT_EQ(sink.entries.size(), 1u) << sink.texts().back();
    EXPECT_EQ(sink.entries[0].kind, MessageKind::Error);
    EXPECT_EQ(sink.entries[0].text, "ANALYSIS NOT DONE: the crest at 1040.00 ft is below the arch at 1050.00 ft");
    EXPECT_FALSE(button("DeformeeButton")->isEnabled());
    EXPECT_EQ(s.view.ViewKind, kView2D);
    EXPECT_TRUE(button("GeometrieButton")->isChecked());
    // The report is still there to be read.
    w().Calcul1Click();
    EXPECT_TRUE(action("Resultsfilemenu")->isEnabled());
}

TEST_F(CaseWindow, SwitchingUnitsRedrawsTheViewShown)
{
    writeGoodEngine();
    openDeck("alpha.dat");
    action("LancerCalculMenu")->trigger();
    button("DeformeeButton")->click();
    const QImage inches = w().mainImage()->image().copy();
    action("UniteMenu")->trigger();
    EXPECT_EQ(s.view.ViewKind, kViewDeflection);
    const QImage mm = w().mainImage()->image().copy();
    EXPECT_NE(mm, inches);
    action("UniteMenu")->trigger();
    EXPECT_NE(w().mainImage()->image(), mm);
}

TEST_F(CaseWindow, TheReportOpensInAReadOnlyWindowOfTheProgram)
{
    writeGoodEngine();
    openDeck("alpha.dat");
    action("LancerCalculMenu")->trigger();
    w().Calcul1Click();
    action("Resultsfilemenu")->trigger();
    TReportFiche* report = w().reportWindow();
    ASSERT_NE(report, nullptr);
    EXPECT_TRUE(report->isVisible());
    EXPECT_EQ(report->windowTitle(), "VELTA0.OUT (imp. unit)");
    QString expected = QString::fromLatin1(test::readFile(prog.file("VELTA0.OUT")));
    expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    EXPECT_EQ(report->text().trimmed(), expected.trimmed());
    EXPECT_TRUE(report->findChild<QPlainTextEdit*>(QStringLiteral("ReportText"))->isReadOnly());
    report->hide();
}

}  // namespace
