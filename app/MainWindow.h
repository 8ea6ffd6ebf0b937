#pragma once
// The main window: view buttons, the tab bar of cases, the drawing surface
// and the menus. It shows what the session decides: after every action it
// copies the captions, check marks and enabled states from the session.
#include <QImage>
#include <QMainWindow>
#include <QTabBar>
#include <QUrl>
#include <array>
#include <functional>
#include <memory>

#include "app/shell/CaseTabs.h"
#include "app/shell/MainShell.h"
#include "model/Session.h"

class QAbstractButton;
class QAction;
class QButtonGroup;
class QLabel;
class QMenu;
class QPushButton;

namespace velta {

class TGeometrieFiche;
class TMateriauFiche;
class TChargementFiche;
class TAProposFiche;

// Message boxes, input boxes and file dialogs of the desktop program.
class WidgetMessages : public MessageSink {
public:
    void show(MessageKind kind, const std::string& text) override;
};
class WidgetPrompter : public Prompter {
public:
    std::optional<std::string> askText(const std::string& title, const std::string& prompt,
                                       const std::string& defaultText) override;
};
class WidgetShellDialogs : public ShellDialogs {
public:
    std::optional<std::string> openFile() override;
    std::optional<std::string> saveFile(const std::string& caseLabel) override;
    Answer askYesNoCancel(const std::string& text) override;
};

// The drawing surface: shows its image, repainted whenever it is uncovered.
class TMainImage : public QWidget {
    Q_OBJECT
public:
    explicit TMainImage(QWidget* parent = nullptr);
    QImage& image() { return image_; }
    // Fills the image with white at the widget's size.
    void clearImage();

signals:
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

    // The start-up of the first activation; later calls do nothing.
    // `programDir` ends with a separator; `screen` is the screen size.
    void FormActivate(const std::string& programDir, QSize screen);
    // Places every widget for a screen of the given size.
    void layoutFor(QSize screen);
    // Copies captions, marks, enabled and pressed states from the session.
    void syncFromState();

    // Opens a help document; QDesktopServices::openUrl unless replaced.
    std::function<void(const QUrl&)> openDocument;

    // What the view procedures hook into; empty hooks do nothing. Each
    // runs with the session already updated and is followed by a sync.
    struct ViewHooks {
        std::function<void(int viewKind)> drawView;  // a view button's handler
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
    void Renommer1Click();
    void tabDupliquermenuClick();
    void TabFermerMenuClick();
    void tabPopupMenuPopup();
    void TabControlChange(int index);

protected:
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void buildWidgets();
    void buildMenus();
    void viewButtonClick(int viewKind);
    void openHelp(const QString& fileName);

    Session& s_;
    CaseTabs tabs_;
    bool started_ = false;
    bool exiting_ = false;

    std::array<QPushButton*, 6> viewButtons_{};  // in ViewKind order
    QButtonGroup* viewGroup_ = nullptr;
    QLabel* scaleLabel_ = nullptr;
    QPushButton *plus_ = nullptr, *minus_ = nullptr, *values_ = nullptr;
    QTabBar* tabBar_ = nullptr;
    TMainImage* mainImage_ = nullptr;
    QMenu* tabPopup_ = nullptr;
    QAction *unitMenu_ = nullptr, *geoMenu_ = nullptr, *matMenu_ = nullptr, *loadsMenu_ = nullptr;
    QAction *runMenu_ = nullptr, *resultsMenu_ = nullptr, *exportMenu_ = nullptr;
    QAction *tabRename_ = nullptr, *tabDuplicate_ = nullptr, *tabSave_ = nullptr, *tabSaveAs_ = nullptr,
            *tabClose_ = nullptr;

    TGeometrieFiche* geometry_ = nullptr;
    TMateriauFiche* material_ = nullptr;
    TChargementFiche* loads_ = nullptr;
    TAProposFiche* about_ = nullptr;
};

}  // namespace velta
