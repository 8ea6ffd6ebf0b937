#pragma once
// The main window: view buttons, the tab bar of cases, the drawing surface
// and the menus. It shows what the session decides: after every action it
// copies the captions, check marks and enabled states from the session.
#include <QImage>
#include <QMainWindow>
#include <QStringList>
#include <QTabBar>
#include <QUrl>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "app/shell/CaseTabs.h"
#include "app/shell/MainShell.h"
#include "graphics/Graphique.h"
#include "app/shell/Session.h"
#include "app/shell/SolverRun.h"

class QAbstractButton;
class QAction;
class QButtonGroup;
class QLabel;
class QMenu;
class QPushButton;
class QMouseEvent;

namespace velta {

class TGeometrieFiche;
class TMateriauFiche;
class TChargementFiche;
class TAProposFiche;
class TReportFiche;
class PaintingCanvas;

// File dialogs and the exit question of the desktop program; message and
// input boxes are in app/EditorMessages.h.
class WidgetShellDialogs : public ShellDialogs {
public:
    std::optional<std::string> openFile() override;
    std::optional<std::string> saveFile(const std::string& caseLabel) override;
    Answer askYesNoCancel(const std::string& text) override;
    Answer askSaveChanges(const std::string& text) override;
    void setStartFolder(const std::string& folder) override;

private:
    QString startFolder_;
};

// The modifiers and buttons of a mouse event as the view handlers compare
// them. `buttons` are the buttons held: on a press they include the button
// pressed, on a release they no longer include the button released.
ShiftState shiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
// The button of a press or a release; none for buttons the views ignore.
std::optional<MouseButton> mouseButtonOf(Qt::MouseButton button);

// What a save dialog of the main window asks for.
struct SaveDialogRequest {
    QString objectName; // "ExportDialog", "PictureDialog"
    QString title;
    QString defaultSuffix; // without the dot
    QStringList filters;   // "csv (*.csv)"
};

// Shown in the status bar while the analysis runs, and when a command has
// to wait for its end.
inline constexpr const char* kRunningText = "Analysis running...";
inline constexpr const char* kWaitForRunText = "An analysis is running: wait for its end or press Stop";
inline constexpr const char* kStopBeforeExitText = "An analysis is running. Stop it before leaving?";
inline constexpr const char* kStoppedText = "Analysis stopped";
// The title line of a result view whose case has changed since its run.
inline constexpr const char* kStaleResultsText = "Results of the previous data: run again";
// How many files the File menu's recent list keeps.
inline constexpr int kRecentFilesMax = 8;

// The drawing surface: shows its image, repainted whenever it is uncovered.
// A new size keeps the picture in the top-left corner until it is redrawn.
class TMainImage : public QWidget {
    Q_OBJECT
public:
    explicit TMainImage(QWidget* parent = nullptr);
    QImage& image() { return image_; }
    // Fills the image with white at the widget's size.
    void clearImage();
    // A line shown over the top of the picture (empty: none).
    void setNotice(const QString& notice);
    const QString& notice() const { return notice_; }
    // The picture as shown, with its notice.
    QImage shownImage() const;

signals:
    void resized();
    void mouseDown(QMouseEvent* e);
    void mouseMove(QMouseEvent* e);
    void mouseUp(QMouseEvent* e);

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent* e) override { emit mouseDown(e); }
    void mouseMoveEvent(QMouseEvent* e) override { emit mouseMove(e); }
    void mouseReleaseEvent(QMouseEvent* e) override { emit mouseUp(e); }

private:
    QImage image_;
    QString notice_;
};

class TPrincipaleFiche : public QMainWindow {
    Q_OBJECT
public:
    TPrincipaleFiche(Session& s, ShellDialogs& dialogs, QWidget* parent = nullptr);
    ~TPrincipaleFiche() override;

    Session& session() { return s_; }
    CaseTabs& caseTabs() { return tabs_; }
    TMainImage* mainImage() { return mainImage_; }
    TAProposFiche* aboutBox() { return about_; }
    // The program's own window for the engine's report; null until shown.
    TReportFiche* reportWindow() { return report_; }
    // The files of the File menu's recent list, newest first.
    QStringList recentFiles() const;

    // The start-up of the first activation; later calls do nothing.
    // `programDir` ends with a separator; `screen` is the screen size.
    void FormActivate(const std::string& programDir, QSize screen);
    // Places every widget for a screen of the given size.
    void layoutFor(QSize screen);
    // Copies captions, marks, enabled and pressed states from the session.
    void syncFromState();

    // Opens a help document with the system's viewer; QDesktopServices::openUrl
    // unless replaced. False when no viewer could be started.
    std::function<bool(const QUrl&)> openDocument;
    // The save dialogs of the export and of the picture; a QFileDialog unless
    // replaced. Empty when the user cancels.
    std::function<std::optional<QString>(const SaveDialogRequest&)> askSaveFile;
    // The runner of the next analysis; the QProcess runner unless replaced.
    std::function<std::unique_ptr<ProcessRunner>()> makeRunner;

    // What the view procedures hook into; the window installs the drawing
    // handlers, the analysis run and the export. Each runs with the session
    // already updated and is followed by a sync; an empty hook does nothing.
    struct ViewHooks {
        std::function<void(int viewKind)> drawView; // a view button's handler
        std::function<void()> plus, minus, values;
        std::function<void(QMouseEvent*)> mouseDown, mouseMove, mouseUp;
        std::function<void()> run, resultsFiles, exportResults;
        std::function<void()> analysisMenuOpening;
    } hooks;

    static constexpr const char* kGuidelinesUrl = "https://www.barrages-cfbr.eu/";

public slots:
    // View buttons: the click that presses or raises the button, then its view.
    void GeometrieButtonClick();
    void GeometrieButton3dClick();
    void DeformeeButtonClick();
    void SiButtonClick();
    void FappuiButtonClick();
    void LoadButtonClick();
    void PlusButtonClick();
    void MoinsButtonClick();
    void ValeurButtonClick();
    // Redraws the view of ViewKind without changing the pressed button.
    void redrawView();
    // Presses "2D Geometry" and draws it.
    void show2DGeometry();

    void MainImageMouseDown(QMouseEvent* e);
    void MainImageMouseMove(QMouseEvent* e);
    void MainImageMouseUp(QMouseEvent* e);

    void OuvrirMenuClick();
    void EnregistrerMenuClick();
    void EnregistrerSousMenuClick();
    void QuitterMenuClick();
    void UniteMenuClickSlot();
    void GeometrieMenuClick();
    void MateriauxMenuClick();
    void ChargementMenuClick();
    void Calcul1Click();
    void LancerCalculMenuClick();
    void ResultsfilemenuClick();
    void ExportResultsMenuClick();
    // Ends the running analysis; its partial outputs are dropped.
    void StopMenuClick();
    // Writes the image shown to a PNG file.
    void SavePictureMenuClick();
    // File > "Report (PDF)...": the calculation report of the current tab.
    void ReportMenuClick();
    // "Contours": the contour view matching the view on screen.
    void ContoursButtonClick();
    void Renommer1Click();
    void tabDupliquermenuClick();
    void TabFermerMenuClick();
    void tabPopupMenuPopup();
    void TabControlChange(int index);
    // Opens a file of the recent list.
    void openRecent(const QString& path);

protected:
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void buildWidgets();
    void buildMenus();
    void placeWidgets(const MainLayout& l);
    void installHooks();
    void viewButtonClick(int viewKind);
    void openHelp(const QString& fileName);
    void openHelpUrl(const QUrl& url);
    // Shows an editor modally and notes whether it changed the case.
    // A file of the scratch folder is refused as a place to save: start-up
    // deletes those files. Says so and returns true.
    bool refuseScratchFile(const std::string& path);
    void editCase(QDialog* editor);
    void rememberFile(const std::string& path);
    void rebuildRecentMenu();

    // Runs a drawing on the main image and shows the result.
    bool drawOnImage(const std::function<bool(Canvas&)>& draw);
    // Draws the view of the given kind as its button does.
    bool drawViewKind(int viewKind);
    void setImageCursor(CursorShape shape);
    // The tab change's redraw: the view of ViewKind, or 2D when the case
    // read back has no data for it.
    void redrawAfterTabChange();
    // True (with a short status message) when an analysis runs.
    bool refuseWhileRunning();
    // Asks to stop the running analysis before the program ends; true
    // when the user agreed (the window then closes once the run is over).
    bool stopBeforeLeaving();
    void analysisRunningChanged();
    // After a stopped run: the partial outputs go, the case shows no results.

    Session& s_;
    ShellDialogs& dialogs_;
    CaseTabs tabs_;
    bool started_ = false;
    bool exiting_ = false;
    // The drawing surface's canvas: the pen and brush carry over from one
    // drawing to the next as the view procedures expect.
    std::unique_ptr<PaintingCanvas> canvas_;
    bool lastDrawOk_ = false;
    // The deck of the case when its results were read: the report is offered
    // while the case still writes this deck.
    QPushButton* contours_ = nullptr;
    QAction* reportMenu_ = nullptr;
    bool redrawPending_ = false;
    std::unique_ptr<ProcessRunner> runner_;
    bool stopRequested_ = false;
    bool closeAfterRun_ = false;

    std::map<int, QPushButton*> viewButtons_; // by ViewKind
    QButtonGroup* viewGroup_ = nullptr;
    QLabel* scaleLabel_ = nullptr;
    QPushButton *plus_ = nullptr, *minus_ = nullptr, *values_ = nullptr;
    QTabBar* tabBar_ = nullptr;
    TMainImage* mainImage_ = nullptr;
    QMenu* tabPopup_ = nullptr;
    QAction *unitMenu_ = nullptr, *geoMenu_ = nullptr, *matMenu_ = nullptr, *loadsMenu_ = nullptr;
    QAction *runMenu_ = nullptr, *resultsMenu_ = nullptr, *exportMenu_ = nullptr, *stopMenu_ = nullptr;
    QLabel* runLabel_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    QAction *tabRename_ = nullptr, *tabDuplicate_ = nullptr, *tabSave_ = nullptr, *tabSaveAs_ = nullptr,
            *tabClose_ = nullptr;

    TGeometrieFiche* geometry_ = nullptr;
    TMateriauFiche* material_ = nullptr;
    TChargementFiche* loads_ = nullptr;
    TAProposFiche* about_ = nullptr;
    TReportFiche* report_ = nullptr;
    QMenu* recentMenu_ = nullptr;
};

} // namespace velta
