// The contour views and the calculation report through the real main
// window, offscreen, after a run of a stand-in engine that copies sample
// outputs into place: the "Contours" button follows the view on screen, the
// contour view follows the unit switch and is the picture saved, and the
// report is offered only for results of the data shown.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

#include "app/LoadsDialog.h"
#include "app/MainWindow.h"
#include "graphics/Contours.h"
#include "graphics/PaintingCanvas.h"
#include "support/TestSupport.h"

using namespace velta;
using velta::test::TempDir;
using velta::test::testData;

namespace {

class ScriptedDialogs : public ShellDialogs {
public:
    std::optional<std::string> openReply;
    std::optional<std::string> openFile() override { return std::exchange(openReply, std::nullopt); }
    std::optional<std::string> saveFile(const std::string&) override { return std::nullopt; }
    Answer askYesNoCancel(const std::string&) override { return Answer::Cancel; }
    void setStartFolder(const std::string&) override {}
};

struct ContourWindow : ::testing::Test {
    TempDir prog, docs, config;
    ListSink sink;
    FixedPrompter prompter;
    Session s{sink, prompter};
    ScriptedDialogs dialogs;
    std::unique_ptr<TPrincipaleFiche> window;
    // The answer of the next save dialog, and the dialogs asked.
    std::optional<QString> saveAnswer;
    std::vector<SaveDialogRequest> asked;

    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(config.path()));
        window = std::make_unique<TPrincipaleFiche>(s, dialogs);
        w().openDocument = [](const QUrl&) { return true; };
        w().askSaveFile = [this](const SaveDialogRequest& r) {
            asked.push_back(r);
            return saveAnswer;
        };
        w().FormActivate(prog.path(), QSize(1024, 768));
        // The stand-in engine: the sample outputs under the base name it is given.
        const std::string engine = prog.file("VELTA_DOS.exe");
        test::writeFile(engine, "#!/bin/sh\ncp '" + testData("results/results_case.OUT") + "' \"$1.OUT\"\ncp '" +
                                    testData("results/VELTA0.PLT") + "' \"$1.PLT\"\n");
        QFile::setPermissions(QString::fromStdString(engine),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // The case of the sample results, opened from a file as the user does.
        const std::string deck = docs.file("sample.dat");
        test::writeFile(deck, test::readFile(testData("decks/results_case.dat")));
        dialogs.openReply = deck;
        action("OuvrirMenu")->trigger();
        ASSERT_TRUE(sink.entries.empty()) << sink.texts().front();
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
    QImage shown() { return w().mainImage()->shownImage(); }
    void run()
    {
        action("LancerCalculMenu")->trigger();
        ASSERT_TRUE(sink.entries.empty()) << sink.texts().front();
        ASSERT_TRUE(s.main.DeformeeButton && s.main.SiButton);
    }
    // The contour view of the given kind drawn apart, on an image of the
    // window's size, from the session as it is.
    QImage drawnApart(int viewKind)
    {
        QImage img = w().mainImage()->image();
        img.fill(Qt::white);
        PaintingCanvas c(img);
        const int before = s.view.ViewKind;
        EXPECT_TRUE(drawContourView(s, c, viewKind));
        s.view.ViewKind = before;
        return img;
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
};

TEST_F(ContourWindow, ContoursFollowTheViewOnScreenTheUnitsAndTheSavedPicture)
{
    EXPECT_FALSE(button("ContoursButton")->isEnabled());
    run();
    EXPECT_TRUE(button("ContoursButton")->isEnabled());
    EXPECT_FALSE(button("ContoursButton")->isHidden());

    // After the deflection view: the deflection contours, and no view button down.
    button("DeformeeButton")->click();
    button("ContoursButton")->click();
    EXPECT_EQ(s.view.ViewKind, kViewContourDeflection);
    EXPECT_FALSE(button("DeformeeButton")->isChecked());
    const QImage deflection = shown();
    EXPECT_EQ(deflection, drawnApart(kViewContourDeflection));

    // After the stress view: downstream, then upstream, then downstream again.
    button("SiButton")->click();
    EXPECT_EQ(s.view.ViewKind, kViewStresses);
    button("ContoursButton")->click();
    EXPECT_EQ(s.view.ViewKind, kViewContourStressDown);
    const QImage downstream = shown();
    EXPECT_NE(downstream, deflection);
    button("ContoursButton")->click();
    EXPECT_EQ(s.view.ViewKind, kViewContourStressUp);
    EXPECT_NE(shown(), downstream);
    button("ContoursButton")->click();
    EXPECT_EQ(s.view.ViewKind, kViewContourStressDown);
    EXPECT_EQ(shown(), downstream);

    // The unit switch draws the contour view shown again, in the new units.
    const int units = s.model.UnitSystem;
    action("UniteMenu")->trigger();
    ASSERT_NE(s.model.UnitSystem, units);
    EXPECT_EQ(s.view.ViewKind, kViewContourStressDown);
    EXPECT_EQ(contourUnit(s, ContourQuantity::Prin1Down), "MPa");
    EXPECT_NE(shown(), downstream);
    EXPECT_EQ(shown(), drawnApart(kViewContourStressDown));

    // "Save picture" writes the contour view as shown.
    saveAnswer = QString::fromStdString(docs.file("contours.png"));
    action("SavePictureMenu")->trigger();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].objectName, "PictureDialog");
    QImage saved(*saveAnswer);
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), shown().convertToFormat(QImage::Format_RGB32));
    EXPECT_TRUE(sink.entries.empty()) << sink.texts().front();
}

// "Contours" stays on the window when the window is too short for it below
// "Values", as on a screen of 720 lines.
TEST_F(ContourWindow, ContoursButtonStaysVisibleOnAShortWindow)
{
    QPushButton* values = button("ValeurButton");
    QPushButton* contours = button("ContoursButton");
    for (QSize size : {QSize(1024, 768), QSize(1280, 660), QSize(1280, 640)}) {
        w().layoutFor(size);
        const QRect image = w().mainImage()->geometry();
        EXPECT_LE(values->geometry().bottom(), image.bottom()) << size.height();
        EXPECT_LE(contours->geometry().bottom(), image.bottom()) << size.height();
        EXPECT_FALSE(contours->geometry().intersects(values->geometry())) << size.height();
        EXPECT_GE(contours->width(), contours->fontMetrics().horizontalAdvance(contours->text()));
    }
    w().layoutFor(QSize(1024, 768));
    EXPECT_EQ(values->geometry(), QRect(20, 520, 145, 50));
    EXPECT_EQ(contours->geometry(), QRect(20, 580, 145, 50));
}

TEST_F(ContourWindow, ReportIsOfferedForCurrentResultsOnlyAndWritesAPdf)
{
    QAction* report = action("ReportMenu");
    EXPECT_FALSE(report->isEnabled());
    run();
    EXPECT_TRUE(report->isEnabled());

    saveAnswer = QString::fromStdString(docs.file("report.pdf"));
    report->trigger();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].objectName, "ReportDialog");
    EXPECT_EQ(asked[0].defaultSuffix, "pdf");
    EXPECT_TRUE(sink.entries.empty()) << sink.texts().front();
    const std::string pdf = test::readFile(docs.file("report.pdf"));
    EXPECT_EQ(pdf.rfind("%PDF", 0), 0u);
    if (!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        const test::ProgramRun p = test::runProgram("pdftotext", {saveAnswer->toStdString(), "-"});
        ASSERT_EQ(p.status, 0);
        const std::string& text = p.out;
        EXPECT_NE(text.find("Case of the sample results"), std::string::npos) << text.substr(0, 400);
        EXPECT_NE(text.find("sample.dat"), std::string::npos);
    }

    // The engine's report of the tab is a scratch file: never a report's name.
    const std::string engineReport = test::readFile(prog.file("VELTA0.OUT"));
    saveAnswer = QString::fromStdString(prog.file("VELTA0.OUT"));
    report->trigger();
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_EQ(sink.entries[0].kind, MessageKind::Error);
    EXPECT_NE(sink.texts()[0].find("scratch file"), std::string::npos) << sink.texts()[0];
    EXPECT_EQ(test::readFile(prog.file("VELTA0.OUT")), engineReport);
    sink.entries.clear();

    // A change of the data makes the results out of date: no report of them.
    editReservoir("1150");
    ASSERT_TRUE(s.main.resultsStale[0]);
    EXPECT_FALSE(report->isEnabled());
    // The contour views of those results say so in the band over the top of
    // the picture, which hides nothing of them: only the frame is under it.
    for (const char* view : {"DeformeeButton", "SiButton"}) {
        button(view)->click();
        button("ContoursButton")->click();
        ASSERT_TRUE(isContourView(s.view.ViewKind));
        EXPECT_EQ(w().mainImage()->notice(), QString::fromUtf8(kStaleResultsText));
        const QImage img = w().mainImage()->image();
        const int band = QFontMetrics(QFont(w().mainImage()->font())).height() + 6;
        int drawn = 0;
        for (int y = 1; y < band; ++y)
            for (int x = 1; x + 1 < img.width(); ++x) drawn += (img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
        EXPECT_EQ(drawn, 0) << view;
    }
    // Run again: offered again.
    run();
    EXPECT_TRUE(report->isEnabled());
}

} // namespace
