// Case tabs and their files, driven without widgets: fake dialogs, and a
// deck reader stand-in that reads back the dam name of decks written by the
// real deck writer, so each case is known by its name.
#include <gtest/gtest.h>

#include <QFile>
#include <deque>
#include <fstream>

#include "app/shell/CaseTabs.h"
#include "app/shell/ScratchArea.h"
#include "forms/DeckReader.h"
#include "deck/DeckWriter.h"
#include "support/TestSupport.h"

using namespace velta;
using velta::test::TempDir;

namespace {

// A small case the deck writer accepts.
CaseModel exampleCase()
{
    CaseModel m;
    m.NbCenter = 1;
    m.TopElev = {1200, 365.76};
    m.BaseElev = {1000, 304.8};
    m.Radius = m.RadiusR = {500, 152.4};
    m.Ec = m.Er = {3, 20.69};
    m.Nuc = m.Nur = {0.2, 0.2};
    m.Thec = {5.6, 10.08};
    m.Wc = {150, 2403};
    m.Rwe = {1190, 362.71};
    m.Twe = {1000, 304.8};
    for (int t = 0; t < 4; ++t) {
        auto& tab = m.FaceTab[t];
        tab(0, 0, 0) = "1000";
        tab(0, 1, 0) = t == 1 ? "35" : "0";
        tab(0, 0, 1) = "1200";
        tab(0, 1, 1) = t == 1 ? "12" : "0";
        tab(0, 2, 1) = t == 1 ? "-0.115" : "0";
        m.FaceRows[t] = 1;
    }
    m.NbArcs = 2;
    m.ArcTab(0, 0, 0) = "1000";
    m.ArcTab(0, 1, 0) = "1";
    m.ArcTab(0, 0, 1) = "1200";
    m.ArcTab(0, 1, 1) = "0";
    m.ArcTab(0, 2, 1) = "45";
    m.ArcTab(0, 3, 1) = "50";
    return m;
}

void writeDeck(const std::string& path, const std::string& damName)
{
    CaseModel m = exampleCase();
    m.DamName[0] = damName;
    velta::test::writeFile(path, composeDeck(m, 0, 1));
}

// The dam name on the title card of a deck file.
std::string deckName(const std::string& path)
{
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("1   0", 0) == 0) {
            std::string name = line.size() > 11 ? line.substr(11) : "";
            while (!name.empty() && (name.back() == '\r' || name.back() == ' ')) name.pop_back();
            return name;
        }
    return "";
}

bool exists(const std::string& path) { return QFile::exists(QString::fromStdString(path)); }

class FakeDialogs : public ShellDialogs {
public:
    std::deque<std::optional<std::string>> openReplies, saveReplies;
    Answer answer = Answer::Cancel;
    int openCalls = 0, questions = 0;
    std::vector<std::string> saveLabels, questionTexts, startFolders;

    std::optional<std::string> openFile() override
    {
        ++openCalls;
        return pop(openReplies);
    }
    std::optional<std::string> saveFile(const std::string& label) override
    {
        saveLabels.push_back(label);
        return pop(saveReplies);
    }
    Answer askYesNoCancel(const std::string& text) override
    {
        ++questions;
        questionTexts.push_back(text);
        return answer;
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

struct Tabs : ::testing::Test {
    TempDir dir;
    ListSink sink;
    FixedPrompter prompter{std::string("Unnamed dam")};
    Session s{sink, prompter};
    FakeDialogs dialogs;
    CaseTabs tabs{s, dialogs};
    std::vector<std::string> reads;
    int resultsRead = 0, redraws = 0, shown2D = 0;

    void SetUp() override
    {
        s.model.ProgramDir = dir.path();
        s.scratchDir = dir.path();
        tabs.readDeck = [this](Session& ss, bool& accepted, const std::string& path) {
            reads.push_back(path);
            std::ifstream in(path);
            if (!in) throw FileReadError("cannot open " + path);
            std::string first;
            std::getline(in, first);
            if (first.rfind("MASTERIO  111011111", 0) != 0) {
                ss.messages.warning("Sorry, I don't think this is an VELTA file ");
                accepted = false;
                return;
            }
            CaseModel m = exampleCase();
            m.ProgramDir = ss.model.ProgramDir;
            m.CaseFile = ss.model.CaseFile;
            m.DamName = ss.model.DamName;
            m.DamName[ss.currentSlot()] = deckName(path);
            ss.model = m;
            ss.main.GeometrieMenu = ss.main.MateriauxMenu = ss.main.ChargementMenu = accepted;
            ss.main.GeometrieButton = true;
        };
        tabs.readResults = [this](Session& ss) {
            ++resultsRead;
            ss.main.DeformeeButton = true;
        };
        tabs.redrawView = [this] { ++redraws; };
        tabs.show2D = [this] { ++shown2D; };
        tabs.startUp();
    }

    std::string scratch(int slot, const char* ext) const { return s.scratchFile(slot, ext); }
    std::string liveName() const { return s.model.DamName[s.currentSlot()]; }

    // Opens a new deck file named after its dam.
    void openCase(const std::string& name)
    {
        const std::string path = dir.file(name + ".dat");
        writeDeck(path, name);
        dialogs.openReplies.push_back(path);
        tabs.open();
        ASSERT_EQ(liveName(), name);
    }
    // An edit through an editor: the live case's dam name changes.
    void edit(const std::string& name)
    {
        const std::string before = tabs.caseSnapshot();
        s.model.DamName[s.currentSlot()] = name;
        tabs.caseEdited(before);
    }
    void giveResults(int slot)
    {
        velta::test::writeFile(scratch(slot, ".PLT"), "plot");
        velta::test::writeFile(scratch(slot, ".OUT"), "report");
    }
};

TEST_F(Tabs, StartUpDeletesEveryScratchFileAndForgetsCaseFiles)
{
    for (int n : {0, 7, 20})
        for (const char* ext : {".DAT", ".OUT", ".PLT"}) velta::test::writeFile(scratch(n, ext), "old");
    s.model.CaseFile[3] = "x.dat";
    tabs.startUp();
    for (int n : {0, 7, 20})
        for (const char* ext : {".DAT", ".OUT", ".PLT"}) EXPECT_FALSE(exists(scratch(n, ext)));
    EXPECT_EQ(s.model.CaseFile[3], "VELTA");
}

TEST_F(Tabs, OpenAddsATabReadsTheFileAndParksThePreviousCase)
{
    openCase("Alpha");
    EXPECT_EQ(s.main.tabs, std::vector<std::string>{"calc_0"});
    EXPECT_EQ(s.main.tabIndex, 0);
    EXPECT_EQ(s.main.caption, dir.file("Alpha.dat"));
    EXPECT_EQ(s.model.CaseFile[0], dir.file("Alpha.dat"));
    EXPECT_EQ(shown2D, 1);
    // The opened file is not copied to the scratch deck until the tab is left.
    EXPECT_FALSE(exists(scratch(0, ".DAT")));

    openCase("Beta");
    EXPECT_EQ(s.main.tabs, (std::vector<std::string>{"calc_0", "calc_1"}));
    EXPECT_EQ(s.main.tabIndex, 1);
    EXPECT_EQ(deckName(scratch(0, ".DAT")), "Alpha");
    EXPECT_TRUE(sink.entries.empty());
}

TEST_F(Tabs, OpenCancelledAddsNothing)
{
    tabs.open();
    EXPECT_EQ(dialogs.openCalls, 1);
    EXPECT_TRUE(s.main.tabs.empty());
    EXPECT_EQ(s.main.tabIndex, -1);
}

TEST_F(Tabs, RefusedFileKeepsTheTabThatWasSelected)
{
    openCase("Alpha");
    openCase("Beta");
    ASSERT_TRUE(tabs.changeTab(0));
    const size_t readsBefore = reads.size();
    // Not a deck: the warning alone, no editor filled, no tab added.
    const std::string junk = dir.file("junk.txt");
    velta::test::writeFile(junk, "hello\r\n");
    dialogs.openReplies.push_back(junk);
    tabs.open();
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"Sorry, I don't think this is an VELTA file "});
    EXPECT_EQ(reads.size(), readsBefore);
    EXPECT_EQ(s.main.tabs.size(), 2u);
    EXPECT_EQ(s.main.tabIndex, 0);
    EXPECT_EQ(liveName(), "Alpha");
    EXPECT_EQ(s.main.caption, dir.file("Alpha.dat"));

    // A deck the reader refuses later: its tab goes, the selected one stays.
    tabs.readDeck = [](Session&, bool& accepted, const std::string&) { accepted = false; };
    const std::string refused = dir.file("refused.dat");
    writeDeck(refused, "Refused");
    dialogs.openReplies.push_back(refused);
    tabs.open();
    EXPECT_EQ(s.main.tabs.size(), 2u);
    EXPECT_EQ(s.main.tabIndex, 0);
    EXPECT_EQ(s.main.caption, dir.file("Alpha.dat"));
    // The slot of the refused file must not keep it as its case file: a case
    // duplicated there later would be saved over it.
    EXPECT_EQ(s.model.CaseFile[2], "VELTA");
}

TEST_F(Tabs, RefusedOrUnreadableFirstFileLeavesNoTab)
{
    // An unreadable file shows the error's own text and is treated as refused.
    dialogs.openReplies.push_back(dir.file("missing.dat"));
    tabs.open();
    EXPECT_TRUE(s.main.tabs.empty());
    EXPECT_EQ(s.main.tabIndex, -1);
    EXPECT_EQ(s.main.caption, "VELTA");
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"cannot open " + dir.file("missing.dat")});
    EXPECT_EQ(s.model.CaseFile[0], "VELTA");
}

TEST_F(Tabs, ParkingFailureRefusesTabChangeAndOpen)
{
    openCase("Alpha");
    openCase("Beta");
    s.scratchDir = dir.file("no/such/folder/");
    sink.clear();
    EXPECT_FALSE(tabs.changeTab(0));
    EXPECT_EQ(s.main.tabIndex, 1);
    EXPECT_EQ(liveName(), "Beta");
    // Open would drop the live case: it stops before its dialog.
    dialogs.openReplies.push_back(dir.file("Alpha.dat"));
    tabs.open();
    EXPECT_EQ(dialogs.openCalls, 2);
    EXPECT_EQ(s.main.tabs.size(), 2u);
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"Data can not be saved", "Data can not be saved"}));
}

TEST_F(Tabs, ChangingTabBringsBackTheCaseWithOrWithoutResults)
{
    openCase("Alpha");
    openCase("Beta");
    giveResults(0);
    ASSERT_TRUE(tabs.changeTab(0));
    EXPECT_EQ(liveName(), "Alpha");
    EXPECT_EQ(s.main.caption, dir.file("Alpha.dat"));
    EXPECT_EQ(reads.back(), scratch(0, ".DAT"));
    EXPECT_EQ(resultsRead, 1);
    EXPECT_EQ(redraws, 1);
    EXPECT_TRUE(s.main.DeformeeButton);

    s.results.ResDeflCount[5] = 3;
    const int shownBefore = shown2D;
    ASSERT_TRUE(tabs.changeTab(1));
    EXPECT_EQ(liveName(), "Beta");
    EXPECT_EQ(resultsRead, 1);
    EXPECT_FALSE(s.main.DeformeeButton);
    EXPECT_FALSE(s.main.PlusButton);
    EXPECT_TRUE(s.main.GeometrieButton);
    EXPECT_EQ(shown2D, shownBefore + 1);
    // No result of the other tab survives in memory.
    EXPECT_EQ(s.results.ResDeflCount[5], 0);
    EXPECT_TRUE(sink.entries.empty());
}

TEST_F(Tabs, MissingScratchDeckIsReportedAndTheTabStaysSelected)
{
    openCase("Alpha");
    openCase("Beta");
    QFile::remove(QString::fromStdString(scratch(0, ".DAT")));
    EXPECT_TRUE(tabs.changeTab(0));
    EXPECT_EQ(s.main.tabIndex, 0);
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"Data can not be read"});
}

TEST_F(Tabs, ClosingTheFirstOfThreeRenumbersSlotsAndSelectsTheNewFirst)
{
    openCase("Alpha");
    openCase("Beta");
    openCase("Gamma");
    giveResults(2);
    ASSERT_TRUE(tabs.changeTab(0));
    tabs.close();

    EXPECT_EQ(s.main.tabs, (std::vector<std::string>{"calc_1", "calc_2"}));
    EXPECT_EQ(s.main.tabIndex, 0);
    EXPECT_EQ(liveName(), "Beta");
    EXPECT_EQ(s.main.caption, dir.file("Beta.dat"));
    EXPECT_EQ(s.model.CaseFile[0], dir.file("Beta.dat"));
    EXPECT_EQ(s.model.CaseFile[1], dir.file("Gamma.dat"));
    EXPECT_EQ(s.model.CaseFile[2], "VELTA");
    EXPECT_EQ(deckName(scratch(1, ".DAT")), "Gamma");
    EXPECT_TRUE(exists(scratch(1, ".PLT")));
    EXPECT_TRUE(exists(scratch(1, ".OUT")));
    // Beta had no results: slot 0 keeps none of Alpha's.
    EXPECT_FALSE(exists(scratch(0, ".PLT")));
    // The slot the renumbering leaves behind keeps nothing of Gamma's.
    for (const char* ext : {".DAT", ".OUT", ".PLT"}) EXPECT_FALSE(exists(scratch(2, ext))) << ext;

    // Gamma, brought back, shows its results.
    ASSERT_TRUE(tabs.changeTab(1));
    EXPECT_EQ(liveName(), "Gamma");
    EXPECT_EQ(resultsRead, 1);
}

TEST_F(Tabs, ClosingAMiddleOrLastTabSelectsThePreviousOne)
{
    openCase("Alpha");
    openCase("Beta");
    openCase("Gamma");
    ASSERT_TRUE(tabs.changeTab(1));
    tabs.close();
    EXPECT_EQ(s.main.tabIndex, 0);
    EXPECT_EQ(liveName(), "Alpha");
    EXPECT_EQ(deckName(scratch(1, ".DAT")), "Gamma");
    ASSERT_TRUE(tabs.changeTab(1));
    tabs.close();
    EXPECT_EQ(s.main.tabs, std::vector<std::string>{"calc_0"});
    EXPECT_EQ(liveName(), "Alpha");
    // The last tab cannot be closed.
    tabs.close();
    EXPECT_EQ(s.main.tabs.size(), 1u);
}

TEST_F(Tabs, CaptionsCanRepeatAfterAClose)
{
    openCase("Alpha");
    openCase("Beta");
    openCase("Gamma");
    ASSERT_TRUE(tabs.changeTab(1));
    tabs.close();
    openCase("Delta");
    EXPECT_EQ(s.main.tabs, (std::vector<std::string>{"calc_0", "calc_2", "calc_2"}));
}

TEST_F(Tabs, OpenClearsStaleOutputsOfTheNewSlot)
{
    openCase("Alpha");
    giveResults(1);
    velta::test::writeFile(scratch(1, ".DAT"), "stale");
    openCase("Beta");
    EXPECT_FALSE(exists(scratch(1, ".PLT")));
    EXPECT_FALSE(exists(scratch(1, ".OUT")));
    ASSERT_TRUE(tabs.changeTab(0));
    ASSERT_TRUE(tabs.changeTab(1));
    EXPECT_EQ(liveName(), "Beta");
    EXPECT_EQ(resultsRead, 0);
}

TEST_F(Tabs, DuplicateCopiesTheCaseAndItsResultsAndKeepsTheSelection)
{
    openCase("Alpha");
    giveResults(0);
    tabs.duplicate();
    EXPECT_EQ(s.main.tabs, (std::vector<std::string>{"calc_0", "calc_1"}));
    EXPECT_EQ(s.main.tabIndex, 0);
    EXPECT_EQ(s.model.CaseFile[1], "VELTA");
    for (const char* ext : {".DAT", ".OUT", ".PLT"})
        EXPECT_EQ(velta::test::readFile(scratch(1, ext)), velta::test::readFile(scratch(0, ext))) << ext;

    ASSERT_TRUE(tabs.changeTab(1));
    EXPECT_EQ(liveName(), "Alpha");
    EXPECT_EQ(resultsRead, 1);
    EXPECT_EQ(s.main.caption, "VELTA");
}

TEST_F(Tabs, DuplicateWithoutResultsRemovesTheTargetsOldOutputs)
{
    openCase("Alpha");
    giveResults(1);
    tabs.duplicate();
    EXPECT_TRUE(exists(scratch(1, ".DAT")));
    EXPECT_FALSE(exists(scratch(1, ".PLT")));
    EXPECT_FALSE(exists(scratch(1, ".OUT")));
}

TEST_F(Tabs, OpenAndDuplicateAreRefusedWith21Tabs)
{
    openCase("Alpha");
    for (int i = 1; i < kTabSlots; ++i) tabs.duplicate();
    ASSERT_EQ(tabs.tabCount(), 21);
    sink.clear();
    tabs.duplicate();
    dialogs.openReplies.push_back(dir.file("Alpha.dat"));
    const int calls = dialogs.openCalls;
    tabs.open();
    EXPECT_EQ(tabs.tabCount(), 21);
    EXPECT_EQ(dialogs.openCalls, calls);
    EXPECT_EQ(sink.texts(), std::vector<std::string>(2, kTooManyTabsText));
}

TEST_F(Tabs, SaveWritesBackToTheOpenedFileAndAsksForANameOnADuplicate)
{
    openCase("Alpha");
    s.model.DamName[0] = "Alpha v2";
    tabs.save();
    EXPECT_TRUE(dialogs.saveLabels.empty());
    EXPECT_EQ(deckName(dir.file("Alpha.dat")), "Alpha v2");

    tabs.duplicate();
    ASSERT_TRUE(tabs.changeTab(1));
    dialogs.saveReplies.push_back(dir.file("copy.dat"));
    tabs.save();
    EXPECT_EQ(dialogs.saveLabels.size(), 1u);
    EXPECT_EQ(deckName(dir.file("copy.dat")), "Alpha v2");
    EXPECT_EQ(s.main.caption, dir.file("copy.dat"));
    EXPECT_EQ(s.model.CaseFile[1], dir.file("copy.dat"));
    // The source's file is untouched by the copy's save.
    EXPECT_EQ(deckName(dir.file("Alpha.dat")), "Alpha v2");
}

TEST_F(Tabs, SaveWithoutTabsUsesSlotZeroAndReportsWriteErrors)
{
    s.model = exampleCase();
    s.model.CaseFile.fill("VELTA");
    s.model.DamName[0] = "Draft";
    dialogs.saveReplies.push_back(std::nullopt);
    tabs.save();
    EXPECT_EQ(s.main.caption, "VELTA");
    dialogs.saveReplies.push_back(dir.file("draft.dat"));
    tabs.saveAs();
    EXPECT_EQ(deckName(dir.file("draft.dat")), "Draft");
    EXPECT_EQ(s.model.CaseFile[0], dir.file("draft.dat"));

    s.model.CaseFile[0] = s.main.caption = dir.file("no/such/draft.dat");
    tabs.save();
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_EQ(sink.entries[0].kind, MessageKind::Error);
    EXPECT_NE(sink.entries[0].text, "Data can not be saved");  // the error's own text
}

TEST_F(Tabs, ExitAnswers)
{
    openCase("Alpha");
    // Nothing changed: no question, and the file is not rewritten.
    velta::test::writeFile(dir.file("Alpha.dat"), velta::test::readFile(dir.file("Alpha.dat")) + "kept\r\n");
    const std::string bytes = velta::test::readFile(dir.file("Alpha.dat"));
    EXPECT_TRUE(tabs.exit());
    EXPECT_EQ(dialogs.questions, 0);

    edit("changed");
    dialogs.answer = Answer::Cancel;
    EXPECT_FALSE(tabs.exit());
    dialogs.answer = Answer::No;
    EXPECT_TRUE(tabs.exit());
    EXPECT_EQ(velta::test::readFile(dir.file("Alpha.dat")), bytes);
    EXPECT_EQ(dialogs.questions, 2);
    EXPECT_EQ(dialogs.questionTexts.back(),
              "Do you want to save before exit?\n\nThis case has changes that are not saved:\n    calc_0 (Alpha.dat)");
}

TEST_F(Tabs, ExitWithYesStaysWhenTheSaveDialogIsCancelled)
{
    openCase("Alpha");
    tabs.duplicate();
    ASSERT_TRUE(tabs.changeTab(1));
    dialogs.answer = Answer::Yes;
    EXPECT_FALSE(tabs.exit());
    EXPECT_EQ(dialogs.saveLabels, std::vector<std::string>{""});
    EXPECT_TRUE(tabs.isModified(1));
}

TEST_F(Tabs, ExitListsTheModifiedCasesAndSavesOnlyThem)
{
    openCase("Alpha");
    openCase("Beta");
    openCase("Gamma");
    velta::test::writeFile(dir.file("Beta.dat"), velta::test::readFile(dir.file("Beta.dat")) + "kept\r\n");
    const std::string betaBytes = velta::test::readFile(dir.file("Beta.dat"));
    tabs.duplicate();  // calc_3: a parked copy of Gamma without a file
    edit("Gamma edited");
    ASSERT_TRUE(tabs.changeTab(0));
    edit("Alpha edited");
    EXPECT_EQ(tabs.modifiedSlots(), (std::vector<int>{0, 2, 3}));

    dialogs.answer = Answer::Yes;
    dialogs.saveReplies.push_back(dir.file("copy.dat"));
    EXPECT_TRUE(tabs.exit());
    ASSERT_EQ(dialogs.questions, 1);
    EXPECT_EQ(dialogs.questionTexts[0],
              "Do you want to save before exit?\n\nThese cases have changes that are not saved:\n"
              "    calc_0 (Alpha.dat)\n    calc_2 (Gamma.dat)\n    calc_3 (no file yet)");
    EXPECT_EQ(deckName(dir.file("Alpha.dat")), "Alpha edited");
    EXPECT_EQ(deckName(dir.file("Gamma.dat")), "Gamma edited");
    // The unmodified case's file is left byte for byte.
    EXPECT_EQ(velta::test::readFile(dir.file("Beta.dat")), betaBytes);
    // The untitled parked case goes through the save dialog, named by its tab.
    EXPECT_EQ(dialogs.saveLabels, std::vector<std::string>{"calc_3"});
    EXPECT_EQ(deckName(dir.file("copy.dat")), "Gamma");
    EXPECT_TRUE(tabs.modifiedSlots().empty());
    EXPECT_TRUE(sink.entries.empty());
}

TEST_F(Tabs, ExitWithYesStaysWhenACaseCannotBeWritten)
{
    openCase("Alpha");
    edit("Alpha edited");
    s.main.caption = s.model.CaseFile[0] = dir.file("no/such/a.dat");
    dialogs.answer = Answer::Yes;
    EXPECT_FALSE(tabs.exit());
    EXPECT_EQ(sink.entries.size(), 1u);
}

TEST_F(Tabs, ModifiedFlagFollowsEditsSavesAndTabs)
{
    openCase("Alpha");
    // An editor closed without a change leaves the case unmodified.
    const std::string before = tabs.caseSnapshot();
    tabs.caseEdited(before);
    EXPECT_FALSE(tabs.isModified(0));
    edit("Alpha 2");
    EXPECT_TRUE(tabs.isModified(0));
    EXPECT_TRUE(s.main.resultsStale[0]);
    openCase("Beta");
    EXPECT_FALSE(tabs.isModified(1));
    ASSERT_TRUE(tabs.changeTab(0));
    // Parking and reading back keep the marks.
    EXPECT_TRUE(tabs.isModified(0));
    EXPECT_TRUE(s.main.resultsStale[0]);
    tabs.save();
    EXPECT_FALSE(tabs.isModified(0));
    // A save does not make the results of older data current.
    EXPECT_TRUE(s.main.resultsStale[0]);
}

TEST_F(Tabs, CloseAsksForAModifiedCase)
{
    openCase("Alpha");
    openCase("Beta");
    tabs.close();  // unmodified: no question
    EXPECT_EQ(dialogs.questions, 0);
    ASSERT_EQ(s.main.tabs.size(), 1u);
    openCase("Beta");
    edit("Beta edited");
    dialogs.answer = Answer::Cancel;
    tabs.close();
    EXPECT_EQ(s.main.tabs.size(), 2u);
    EXPECT_EQ(dialogs.questionTexts.back(), "Do you want to save the changes of calc_1 (Beta.dat) before closing it?");
    dialogs.answer = Answer::Yes;
    tabs.close();
    EXPECT_EQ(s.main.tabs.size(), 1u);
    EXPECT_EQ(deckName(dir.file("Beta.dat")), "Beta edited");
    EXPECT_FALSE(tabs.isModified(1));

    // Discarding leaves the file as it was; the marks of later tabs move down.
    openCase("Beta");
    openCase("Gamma");
    edit("Gamma edited");
    ASSERT_TRUE(tabs.changeTab(1));
    edit("Beta again");
    dialogs.answer = Answer::No;
    tabs.close();
    EXPECT_EQ(deckName(dir.file("Beta.dat")), "Beta");
    EXPECT_EQ(s.main.tabs.size(), 2u);
    EXPECT_TRUE(tabs.isModified(1));
    EXPECT_FALSE(tabs.isModified(2));
}

TEST_F(Tabs, OpeningAFileThatIsOpenSelectsItsTab)
{
    std::vector<std::string> notes;
    tabs.showStatus = [&](const std::string& text) { notes.push_back(text); };
    openCase("Alpha");
    openCase("Beta");
    edit("Beta edited");
    // The same file by another name of it.
    dialogs.openReplies.push_back(dir.path() + "./Alpha.dat");
    tabs.open();
    EXPECT_EQ(s.main.tabs.size(), 2u);
    EXPECT_EQ(s.main.tabIndex, 0);
    EXPECT_EQ(liveName(), "Alpha");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("already open in tab calc_0"), std::string::npos) << notes[0];
    // Save as onto the file of another tab is refused.
    dialogs.saveReplies.push_back(dir.file("Beta.dat"));
    tabs.saveAs();
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_NE(sink.entries[0].text.find("tab calc_1"), std::string::npos);
    EXPECT_EQ(s.model.CaseFile[0], dir.file("Alpha.dat"));
    EXPECT_EQ(deckName(dir.file("Beta.dat")), "Beta");
}

TEST_F(Tabs, SavesOntoScratchFilesAreRefusedAndDialogsStartInTheCaseFolder)
{
    s.model = exampleCase();
    s.model.CaseFile.fill("VELTA");
    s.model.ProgramDir = s.scratchDir = dir.path();
    s.model.DamName[0] = "Draft";
    edit("Draft 2");
    for (const char* name : {"VELTA0.DAT", "velta12.out", "VELTA3.PLT"}) {
        sink.clear();
        dialogs.saveReplies.push_back(dir.file(name));
        tabs.saveAs();
        ASSERT_EQ(sink.entries.size(), 1u) << name;
        EXPECT_NE(sink.entries[0].text.find("scratch file"), std::string::npos);
        EXPECT_FALSE(exists(dir.file(name)));
        EXPECT_EQ(s.main.caption, "VELTA");
    }
    // Not the scratch folder: the documents folder.
    ASSERT_FALSE(dialogs.startFolders.empty());
    EXPECT_NE(dialogs.startFolders.back() + "/", dir.path());
    EXPECT_FALSE(tabs.isScratchFile(dir.file("VELTA0.dat.bak")));
    EXPECT_FALSE(tabs.isScratchFile(dir.file("sub/VELTA0.DAT")));

    // Saved elsewhere, the case's folder is where the dialogs start.
    velta::test::TempDir other;
    dialogs.saveReplies.push_back(other.file("draft.dat"));
    tabs.saveAs();
    EXPECT_EQ(deckName(other.file("draft.dat")), "Draft 2");
    EXPECT_EQ(tabs.startFolder() + "/", other.path());
}

TEST_F(Tabs, RenameAsksWithTheCurrentCaption)
{
    openCase("Alpha");
    tabs.rename();
    EXPECT_EQ(s.main.tabs[0], "Unnamed dam");
    EXPECT_EQ(prompter.asked.back(), "Rename|Type a new name to remember what the f..k is this calcul about");

    FixedPrompter cancel;
    Session other{sink, cancel};
    other.main.tabs = {"calc_0"};
    other.main.tabIndex = 0;
    CaseTabs otherTabs(other, dialogs);
    otherTabs.rename();
    EXPECT_EQ(other.main.tabs[0], "calc_0");
}

TEST_F(Tabs, PopupEnabledRules)
{
    struct Case {
        bool geo, mat, loads;
        int tabs;
        bool saves, close;
    };
    for (const Case& c : {Case{true, true, true, 1, true, false}, Case{true, true, false, 2, false, true},
                          Case{false, true, true, 3, false, true}, Case{true, false, true, 2, false, true}}) {
        s.main.GeometrieMenu = c.geo;
        s.main.MateriauxMenu = c.mat;
        s.main.ChargementMenu = c.loads;
        s.main.tabs.assign(c.tabs, "t");
        const auto p = tabs.popupState();
        EXPECT_EQ(p.duplicate, c.saves);
        EXPECT_EQ(p.save, c.saves);
        EXPECT_EQ(p.saveAs, c.saves);
        EXPECT_EQ(p.close, c.close);
    }
}

// Scratch folders.

TEST(ScratchArea, ProgramFolderFirstAndAFolderOfItsOwnForASecondProgram)
{
    TempDir program, user;
    ScratchArea first;
    EXPECT_EQ(first.acquire(program.path(), user.path()), program.path());

    ScratchArea second;
    const std::string own = second.acquire(program.path(), user.path());
    ASSERT_FALSE(own.empty());
    EXPECT_NE(own, program.path());
    EXPECT_EQ(own.rfind(program.path(), 0), 0u);

    // The second program's start-up leaves the first one's files alone.
    ListSink sink;
    FixedPrompter prompter;
    Session s1{sink, prompter}, s2{sink, prompter};
    s1.scratchDir = first.dir();
    s2.scratchDir = second.dir();
    velta::test::writeFile(s1.scratchFile(0, ".DAT"), "first");
    FakeDialogs d;
    CaseTabs(s2, d).startUp();
    EXPECT_TRUE(exists(s1.scratchFile(0, ".DAT")));

    // Once the first program has ended, its folder is free again.
    first.acquire(user.path(), user.path());
    ScratchArea third;
    EXPECT_EQ(third.acquire(program.path(), user.path()), program.path());
}

TEST(ScratchArea, UnwritableProgramFolderFallsBackToTheUserFolder)
{
    TempDir tmp;
    velta::test::writeFile(tmp.file("plain"), "");
    const std::string program = tmp.file("plain/");  // a file, so nothing can be created in it
    const std::string user = tmp.file("user/work/");
    EXPECT_FALSE(isWritableFolder(program));
    ScratchArea area;
    EXPECT_EQ(area.acquire(program, user), user);
    EXPECT_TRUE(isWritableFolder(user));
}

TEST(ScratchArea, AnInstalledCopyWritesNothingBesideItself)
{
    TempDir program, user;
    velta::test::writeFile(program.file("velta.installed"), "");
    ScratchArea area;
    EXPECT_EQ(area.acquire(program.path(), user.path()), user.path());
}

// With the real deck reader.

TEST_F(Tabs, RealReaderOpensParksAndBringsBackADeck)
{
    tabs.readDeck = LectureDonnees;
    const std::string path = dir.file("real.dat");
    writeDeck(path, "Real dam");
    dialogs.openReplies.push_back(path);
    tabs.open();
    ASSERT_EQ(s.main.tabs.size(), 1u);
    EXPECT_TRUE(s.main.caseValidated());
    EXPECT_EQ(liveName(), "Real dam");
    tabs.duplicate();
    ASSERT_TRUE(tabs.changeTab(1));
    EXPECT_EQ(liveName(), "Real dam");
    EXPECT_TRUE(s.main.caseValidated());
    EXPECT_EQ(velta::test::readFile(scratch(1, ".DAT")), velta::test::readFile(path));
}

}  // namespace
