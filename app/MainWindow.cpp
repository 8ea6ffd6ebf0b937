#include "app/MainWindow.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>

#include "app/About.h"
#include "app/GeometryDialog.h"
#include "app/LoadsDialog.h"
#include "app/MaterialDialog.h"
#include "app/ReportWindow.h"
#include "app/shell/ScratchArea.h"
#include "deck/DeckWriter.h"
#include "graphics/Contours.h"
#include "graphics/ViewTable.h"
#include "graphics/PaintingCanvas.h"
#include "graphics/PngFile.h"
#include "model/FileWriter.h"
#include "solver/Export.h"
#include "app/shell/Report.h"
#include "graphics/ResultViews.h"
#include "solver/ResultsReader.h"

namespace velta {

namespace {
QString qs(const std::string& s)
{
    return QString::fromStdString(s);
}
} // namespace

// ---- dialogs of the desktop program ----

void WidgetShellDialogs::setStartFolder(const std::string& folder)
{
    startFolder_ = qs(folder);
}

std::optional<std::string> WidgetShellDialogs::openFile()
{
    const QString path =
        QFileDialog::getOpenFileName(QApplication::activeWindow(), QStringLiteral("Open"), startFolder_);
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

std::optional<std::string> WidgetShellDialogs::saveFile(const std::string& caseLabel)
{
    QFileDialog dialog(QApplication::activeWindow(), caseLabel.empty()
                                                         ? QStringLiteral("Save as")
                                                         : QStringLiteral("Save as: ") + qs(caseLabel));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (!startFolder_.isEmpty()) dialog.setDirectory(startFolder_);
    dialog.setDefaultSuffix(QStringLiteral("dat"));
    dialog.setNameFilter(QStringLiteral("velta (*.dat)"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

Answer WidgetShellDialogs::askYesNoCancel(const std::string& text)
{
    const auto reply =
        QMessageBox::question(QApplication::activeWindow(), QStringLiteral("VELTA"), qs(text),
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel);
    if (reply == QMessageBox::Yes) return Answer::Yes;
    if (reply == QMessageBox::No) return Answer::No;
    return Answer::Cancel;
}

Answer WidgetShellDialogs::askSaveChanges(const std::string& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("VELTA"), qs(text),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                    QApplication::activeWindow());
    box.setObjectName(QStringLiteral("SaveChangesBox"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    const int reply = box.exec();
    if (reply == QMessageBox::Save) return Answer::Yes;
    if (reply == QMessageBox::Discard) return Answer::No;
    return Answer::Cancel;
}

// ---- drawing surface ----

TMainImage::TMainImage(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void TMainImage::clearImage()
{
    image_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image_.fill(Qt::white);
    update();
}

namespace {
// The notice as a band across the top of the picture: dark red on pale
// yellow, so that it cannot be taken for part of the drawing.
void paintNotice(QPainter& p, int width, const QString& notice)
{
    if (notice.isEmpty()) return;
    QFont f = p.font();
    f.setBold(true);
    p.setFont(f);
    const int h = p.fontMetrics().height() + 6;
    p.fillRect(QRect(0, 0, width, h), QColor(255, 244, 190));
    p.setPen(QColor(170, 0, 0));
    p.drawText(QRect(0, 0, width, h), Qt::AlignCenter, notice);
}
} // namespace

void TMainImage::setNotice(const QString& notice)
{
    if (notice == notice_) return;
    notice_ = notice;
    update();
}

QImage TMainImage::shownImage() const
{
    QImage shown = image_.copy();
    QPainter p(&shown);
    paintNotice(p, shown.width(), notice_);
    return shown;
}

void TMainImage::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.drawImage(0, 0, image_);
    paintNotice(p, width(), notice_);
}

void TMainImage::resizeEvent(QResizeEvent*)
{
    if (image_.size() == size()) return;
    const QImage old = image_;
    image_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image_.fill(Qt::white);
    if (!old.isNull()) {
        QPainter p(&image_);
        p.drawImage(0, 0, old);
    }
    update();
    emit resized();
}

// ---- main window ----

TPrincipaleFiche::TPrincipaleFiche(Session& s, ShellDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), s_(s), dialogs_(dialogs), tabs_(s, dialogs)
{
    setObjectName(QStringLiteral("PrincipaleFiche"));
    setWindowTitle(QStringLiteral("VELTA"));
    openDocument = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    askSaveFile = [this](const SaveDialogRequest& r) -> std::optional<QString> {
        QFileDialog dialog(this, r.title);
        dialog.setObjectName(r.objectName);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDirectory(qs(tabs_.startFolder()));
        dialog.setDefaultSuffix(r.defaultSuffix);
        dialog.setNameFilters(r.filters);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        return dialog.selectedFiles().first();
    };
    makeRunner = [] { return makeQProcessRunner(); };
    buildWidgets();
    buildMenus();
    installHooks();

    // The other windows, created once and shown when needed.
    // An editor's OK shows the case in 2D, with its button down.
    auto redraw2D = [this] { show2DGeometry(); };
    geometry_ = new TGeometrieFiche(s_, redraw2D, this);
    material_ = new TMateriauFiche(s_, redraw2D, this);
    loads_ = new TChargementFiche(s_, redraw2D, this);
    about_ = new TAProposFiche(this);
    syncFromState();
}

// ---- recent files ----

namespace {
// The program's settings: only the recent files are kept there.
std::unique_ptr<QSettings> settings()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("VELTA"),
                                       QStringLiteral("VELTA"));
}
constexpr const char* kRecentKey = "recentFiles";
} // namespace

QStringList TPrincipaleFiche::recentFiles() const
{
    return settings()->value(QString::fromLatin1(kRecentKey)).toStringList();
}

void TPrincipaleFiche::rememberFile(const std::string& path)
{
    const QString file = QFileInfo(qs(path)).absoluteFilePath();
    QStringList list = recentFiles();
    list.removeAll(file);
    list.prepend(file);
    while (list.size() > kRecentFilesMax) list.removeLast();
    settings()->setValue(QString::fromLatin1(kRecentKey), list);
}

void TPrincipaleFiche::rebuildRecentMenu()
{
    recentMenu_->clear();
    const QStringList list = recentFiles();
    for (int i = 0; i < list.size(); ++i) {
        const QString path = list[i];
        QAction* a = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()),
                                            this, [this, path] { openRecent(path); });
        a->setToolTip(path);
        a->setStatusTip(path);
    }
    recentMenu_->setEnabled(!list.isEmpty());
}

void TPrincipaleFiche::openRecent(const QString& path)
{
    if (refuseWhileRunning()) return;
    if (!QFileInfo::exists(path)) {
        QStringList list = recentFiles();
        list.removeAll(path);
        settings()->setValue(QString::fromLatin1(kRecentKey), list);
        s_.messages.error(path.toStdString() + " no longer exists: it is taken off the list of recent files.");
        return;
    }
    tabs_.open(path.toStdString());
    syncFromState();
}

TPrincipaleFiche::~TPrincipaleFiche() = default;

void TPrincipaleFiche::buildWidgets()
{
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(central);

    // The group keeps at most one button down but lets it be raised again,
    // so it is not exclusive: the session decides which one is down.
    viewGroup_ = new QButtonGroup(this);
    viewGroup_->setExclusive(false);
    for (const ViewSpec* v : buttonViews()) {
        const int k = v->kind;
        auto* b = new QPushButton(QString::fromUtf8(v->caption), central);
        b->setObjectName(QString::fromUtf8(v->button));
        b->setCheckable(true);
        b->setEnabled(false);
        viewGroup_->addButton(b, k);
        connect(b, &QPushButton::clicked, this, [this, k] { viewButtonClick(k); });
        viewButtons_[k] = b;
    }

    scaleLabel_ = new QLabel(QStringLiteral("Change scale of the results"), central);
    scaleLabel_->setObjectName(QStringLiteral("ScaleLabel"));
    plus_ = new QPushButton(QStringLiteral("+"), central);
    plus_->setObjectName(QStringLiteral("PlusButton"));
    minus_ = new QPushButton(QStringLiteral("-"), central);
    minus_->setObjectName(QStringLiteral("MoinsButton"));
    values_ = new QPushButton(QStringLiteral("Values"), central);
    values_->setObjectName(QStringLiteral("ValeurButton"));
    connect(plus_, &QPushButton::clicked, this, &TPrincipaleFiche::PlusButtonClick);
    connect(minus_, &QPushButton::clicked, this, &TPrincipaleFiche::MoinsButtonClick);
    connect(values_, &QPushButton::clicked, this, &TPrincipaleFiche::ValeurButtonClick);
    contours_ = new QPushButton(QStringLiteral("Contours"), central);
    contours_->setObjectName(QStringLiteral("ContoursButton"));
    contours_->setEnabled(false);
    connect(contours_, &QPushButton::clicked, this, &TPrincipaleFiche::ContoursButtonClick);

    tabBar_ = new QTabBar(central);
    tabBar_->setObjectName(QStringLiteral("TabControl"));
    tabBar_->setExpanding(false);
    tabBar_->setDrawBase(false);
    tabBar_->setStyleSheet(QStringLiteral("QTabBar::tab { height: 18px; padding: 0 10px; }"));
    tabBar_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tabBar_, &QTabBar::currentChanged, this, &TPrincipaleFiche::TabControlChange);

    tabPopup_ = new QMenu(this);
    tabPopup_->setObjectName(QStringLiteral("tabPopupMenu"));
    tabRename_ = tabPopup_->addAction(QStringLiteral("Rename"), this, &TPrincipaleFiche::Renommer1Click);
    tabRename_->setObjectName(QStringLiteral("Renommer1"));
    tabDuplicate_ =
        tabPopup_->addAction(QStringLiteral("Duplicate"), this, &TPrincipaleFiche::tabDupliquermenuClick);
    tabDuplicate_->setObjectName(QStringLiteral("tabDupliquermenu"));
    tabSave_ = tabPopup_->addAction(QStringLiteral("Save"), this, &TPrincipaleFiche::EnregistrerMenuClick);
    tabSave_->setObjectName(QStringLiteral("tabEnregistrerMenu"));
    tabSaveAs_ =
        tabPopup_->addAction(QStringLiteral("Save as"), this, &TPrincipaleFiche::EnregistrerSousMenuClick);
    tabSaveAs_->setObjectName(QStringLiteral("tabEnregistrerSousMenu"));
    tabClose_ = tabPopup_->addAction(QStringLiteral("Close"), this, &TPrincipaleFiche::TabFermerMenuClick);
    tabClose_->setObjectName(QStringLiteral("TabFermerMenu"));
    connect(tabPopup_, &QMenu::aboutToShow, this, &TPrincipaleFiche::tabPopupMenuPopup);
    connect(tabBar_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        if (tabBar_->count() > 0) tabPopup_->popup(tabBar_->mapToGlobal(pos));
    });

    mainImage_ = new TMainImage(central);
    mainImage_->setObjectName(QStringLiteral("MainImage"));
    canvas_ = std::make_unique<PaintingCanvas>(mainImage_->image());
    // A new size of the image shows the view again, fitted to it, once the
    // resizing has settled.
    connect(mainImage_, &TMainImage::resized, this, [this] {
        if (!lastDrawOk_ || redrawPending_) return;
        redrawPending_ = true;
        QTimer::singleShot(0, this, [this] {
            redrawPending_ = false;
            if (lastDrawOk_) redrawView();
        });
    });
    connect(mainImage_, &TMainImage::mouseDown, this, &TPrincipaleFiche::MainImageMouseDown);
    connect(mainImage_, &TMainImage::mouseMove, this, &TPrincipaleFiche::MainImageMouseMove);
    connect(mainImage_, &TMainImage::mouseUp, this, &TPrincipaleFiche::MainImageMouseUp);

    // The line shown while the analysis runs, with its Stop button.
    runLabel_ = new QLabel(QString::fromUtf8(kRunningText), this);
    runLabel_->setObjectName(QStringLiteral("RunLabel"));
    stopButton_ = new QPushButton(QStringLiteral("Stop"), this);
    stopButton_->setObjectName(QStringLiteral("StopButton"));
    connect(stopButton_, &QPushButton::clicked, this, &TPrincipaleFiche::StopMenuClick);
    statusBar()->addPermanentWidget(runLabel_);
    statusBar()->addPermanentWidget(stopButton_);
    runLabel_->hide();
    stopButton_->hide();
}

void TPrincipaleFiche::buildMenus()
{
    auto addMenu = [this](const char* name, const char* caption) {
        QMenu* m = menuBar()->addMenu(QString::fromUtf8(caption));
        m->setObjectName(QString::fromUtf8(name));
        return m;
    };
    auto addEntry = [](QMenu* m, const char* name, const char* caption, auto* receiver, auto slot) {
        QAction* a = m->addAction(QString::fromUtf8(caption), receiver, slot);
        a->setObjectName(QString::fromUtf8(name));
        return a;
    };

    QMenu* file = addMenu("FichierMenu", "File");
    addEntry(file, "OuvrirMenu", "Open", this, &TPrincipaleFiche::OuvrirMenuClick)
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    recentMenu_ = file->addMenu(QStringLiteral("Recent files"));
    recentMenu_->setObjectName(QStringLiteral("RecentMenu"));
    connect(file, &QMenu::aboutToShow, this, &TPrincipaleFiche::rebuildRecentMenu);
    addEntry(file, "EnregistrerMenu", "Save", this, &TPrincipaleFiche::EnregistrerMenuClick)
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    addEntry(file, "EnregistrerSousMenu", "Save as", this, &TPrincipaleFiche::EnregistrerSousMenuClick)
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    addEntry(file, "SavePictureMenu", "Save picture", this, &TPrincipaleFiche::SavePictureMenuClick);
    reportMenu_ = addEntry(file, "ReportMenu", "Report (PDF)...", this, &TPrincipaleFiche::ReportMenuClick);
    reportMenu_->setEnabled(false);
    addEntry(file, "QuitterMenu", "Exit", this, &TPrincipaleFiche::QuitterMenuClick)
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));

    QMenu* data = addMenu("DonneesMenu", "Data");
    unitMenu_ = addEntry(data, "UniteMenu", MainWindowState::kUnitMenuInitialCaptionText, this,
                         &TPrincipaleFiche::UniteMenuClickSlot);
    geoMenu_ = addEntry(data, "GeometrieMenu", "Geometry", this, &TPrincipaleFiche::GeometrieMenuClick);
    matMenu_ =
        addEntry(data, "MateriauxMenu", "Material properties", this, &TPrincipaleFiche::MateriauxMenuClick);
    loadsMenu_ = addEntry(data, "ChargementMenu", "Loads", this, &TPrincipaleFiche::ChargementMenuClick);
    for (QAction* a : {geoMenu_, matMenu_, loadsMenu_}) a->setCheckable(true);

    QMenu* analysis = addMenu("Calcul1", "Analysis");
    runMenu_ = addEntry(analysis, "LancerCalculMenu", "Run", this, &TPrincipaleFiche::LancerCalculMenuClick);
    runMenu_->setShortcut(QKeySequence(Qt::Key_F5));
    resultsMenu_ = addEntry(analysis, "Resultsfilemenu", "Results files (imp. unit)", this,
                            &TPrincipaleFiche::ResultsfilemenuClick);
    exportMenu_ = addEntry(analysis, "ExportResultsMenu", "Export results (.csv)", this,
                           &TPrincipaleFiche::ExportResultsMenuClick);
    stopMenu_ = addEntry(analysis, "StopMenu", "Stop", this, &TPrincipaleFiche::StopMenuClick);
    stopMenu_->setEnabled(false);
    connect(analysis, &QMenu::aboutToShow, this, &TPrincipaleFiche::Calcul1Click);

    QMenu* help = addMenu("AideMenu", "Help");
    addEntry(help, "HowToUseMenu", "How to use Velta", this,
             [this] { openHelp(QStringLiteral("How_to_use_Velta.pdf")); });
    addEntry(help, "GuideMenu", "VELTA original user's guide", this,
             [this] { openHelp(QStringLiteral("VELTA_guide_1997.PDF")); });
    addEntry(help, "HistoryMenu", "Trial-Load method and arch dam design", this,
             [this] { openHelp(QStringLiteral("Trial_load_method_history.pdf")); });
    addEntry(help, "GuidelinesMenu", "French guidelines for arch dams", this,
             [this] { openHelpUrl(QUrl(QString::fromLatin1(kGuidelinesUrl))); });
    addEntry(help, "AProposMenu", "About this program", this, [this] { about_->exec(); });
}

void TPrincipaleFiche::openHelp(const QString& fileName)
{
    const QString path = qs(s_.model.ProgramDir) + fileName;
    if (!QFileInfo::exists(path)) {
        s_.messages.error("The document " + path.toStdString() + " is missing.");
        return;
    }
    openHelpUrl(QUrl::fromLocalFile(path));
}

void TPrincipaleFiche::openHelpUrl(const QUrl& url)
{
    if (openDocument && openDocument(url)) return;
    const QString name = url.isLocalFile() ? url.toLocalFile() : url.toString();
    s_.messages.error("No viewer could be started for " + name.toStdString() + ".");
}

void TPrincipaleFiche::FormActivate(const std::string& programDir, QSize screen)
{
    if (started_) return;
    started_ = true;
    // Number texts never depend on the user's locale: the core formats and
    // parses with "." whatever the locale is.
    s_.model.ProgramDir = programDir;
    if (s_.scratchDir.empty()) s_.scratchDir = programDir;
    tabs_.startUp();
    setCursor(Qt::ArrowCursor);
    layoutFor(screen);
    mainImage_->clearImage();
    startSession(s_);
    syncFromState();
}

void TPrincipaleFiche::layoutFor(QSize screen)
{
    resize(screen);
    placeWidgets(computeMainLayout(screen));
}

void TPrincipaleFiche::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    // The window's own size, as the window manager allows it, keeps the
    // same rules as the start-up layout.
    placeWidgets(computeMainLayout(size()));
}

void TPrincipaleFiche::placeWidgets(const MainLayout& layout)
{
    MainLayout l = layout;
    // Widgets are placed in the client area, below the menu bar; a window
    // smaller than the left column leaves the image one pixel at least.
    l.tabBar.setWidth(std::max(1, l.tabBar.width()));
    l.image.setSize(l.image.size().expandedTo(QSize(1, 1)));
    const std::vector<const ViewSpec*> order = buttonViews();
    for (size_t i = 0; i < order.size(); ++i) viewButtons_[order[i]->kind]->setGeometry(l.viewButtons[i]);
    scaleLabel_->setGeometry(l.scaleLabel);
    // The label's one line must fit its width; a smaller font when it does not.
    QFont f = font();
    while (f.pointSizeF() > 6 &&
           QFontMetrics(f).horizontalAdvance(scaleLabel_->text()) > l.scaleLabel.width())
        f.setPointSizeF(f.pointSizeF() - 0.5);
    scaleLabel_->setFont(f);
    plus_->setGeometry(l.plus);
    minus_->setGeometry(l.minus);
    // "Contours" goes below "Values"; on a window too short for it (a 720-line
    // screen) the two share the row of "Values" rather than hide "Contours".
    QRect values = l.values, contours = l.values.translated(0, l.values.height() + 10);
    if (contours.bottom() > l.image.bottom()) {
        const int half = (values.width() - 5) / 2;
        values.setWidth(half);
        contours = QRect(values.right() + 1 + (l.values.width() - 2 * half), values.top(), half, values.height());
    }
    values_->setGeometry(values);
    contours_->setGeometry(contours);
    tabBar_->setGeometry(l.tabBar);
    mainImage_->setGeometry(l.image);
}

void TPrincipaleFiche::syncFromState()
{
    const MainWindowState& w = s_.main;
    // The title names the selected case's file (the application's name
    // follows it); a "*" marks unsaved changes.
    const bool modified = tabs_.isModified(s_.currentSlot());
    QString title = QStringLiteral("VELTA");
    if (w.caption != kNoFileCaption) title = QFileInfo(qs(w.caption)).fileName();
    if (modified) title = QStringLiteral("*") + title;
    setWindowTitle(title);
    for (const ViewSpec* v : buttonViews()) {
        viewButtons_[v->kind]->setEnabled(w.*v->control);
        viewButtons_[v->kind]->setChecked(w.viewButtonDown == v->kind);
    }
    scaleLabel_->setEnabled(w.ScaleLabel);
    plus_->setEnabled(w.PlusButton);
    minus_->setEnabled(w.MoinsButton);
    values_->setEnabled(w.ValeurButton);
    contours_->setEnabled((w.DeformeeButton || w.SiButton) && !w.analysisRunning);
    reportMenu_->setEnabled(!w.analysisRunning && reportAvailable(s_));

    geoMenu_->setChecked(w.GeometrieMenu);
    matMenu_->setChecked(w.MateriauxMenu);
    loadsMenu_->setChecked(w.ChargementMenu);
    unitMenu_->setText(qs(w.UniteMenuCaption));
    runMenu_->setEnabled(w.LancerCalculMenu && !w.analysisRunning);
    resultsMenu_->setEnabled(w.Resultsfilemenu);
    exportMenu_->setEnabled(w.ExportResultsMenu);
    stopMenu_->setEnabled(w.analysisRunning);

    // Programmatic changes of the tab bar raise no events.
    const QSignalBlocker block(tabBar_);
    while (tabBar_->count() > static_cast<int>(w.tabs.size())) tabBar_->removeTab(tabBar_->count() - 1);
    for (int i = 0; i < static_cast<int>(w.tabs.size()); ++i) {
        const QString caption = qs(w.tabs[i]) + (tabs_.isModified(i) ? QStringLiteral("*") : QString());
        if (i < tabBar_->count())
            tabBar_->setTabText(i, caption);
        else
            tabBar_->addTab(caption);
        const std::string& file = s_.model.CaseFile[i];
        tabBar_->setTabToolTip(i, file == kNoFileCaption ? QStringLiteral("no file yet") : qs(file));
    }
    if (w.tabIndex >= 0 && w.tabIndex < tabBar_->count()) tabBar_->setCurrentIndex(w.tabIndex);
    // The hint's phrases are separated by carriage returns; a tooltip breaks
    // its lines on line feeds.
    mainImage_->setToolTip(qs(w.MainImageHint).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    // A result view of a case changed since its run says so over its title.
    const bool resultView = s_.view.ViewKind != kView2D && lastDrawOk_;
    mainImage_->setNotice(resultView && s_.main.resultsStale[s_.currentSlot()]
                              ? QString::fromUtf8(kStaleResultsText)
                              : QString());
}

void TPrincipaleFiche::changeEvent(QEvent* e)
{
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && !started_) {
        const QString dir = QCoreApplication::applicationDirPath() + "/";
        const QSize screen = this->screen() ? this->screen()->size() : QSize(1024, 768);
        FormActivate(dir.toStdString(), screen);
    }
}

void TPrincipaleFiche::closeEvent(QCloseEvent* e)
{
    if (s_.main.analysisRunning) {
        // The window closes once the stopped run is over.
        stopBeforeLeaving();
        e->ignore();
        return;
    }
    if (exiting_) {
        e->accept();
        return;
    }
    // The close box asks the same question as File, Exit.
    if (tabs_.exit()) {
        e->accept();
    } else {
        syncFromState();
        e->ignore();
    }
}

// ---- view buttons and drawing surface ----

ShiftState shiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    ShiftState s = 0;
    if (modifiers & Qt::ShiftModifier) s |= ssShift;
    if (modifiers & Qt::ControlModifier) s |= ssCtrl;
    if (modifiers & Qt::AltModifier) s |= ssAlt;
    if (buttons & Qt::LeftButton) s |= ssLeft;
    if (buttons & Qt::RightButton) s |= ssRight;
    if (buttons & Qt::MiddleButton) s |= ssMiddle;
    return s;
}

std::optional<MouseButton> mouseButtonOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return MouseButton::Left;
    case Qt::RightButton:
        return MouseButton::Right;
    case Qt::MiddleButton:
        return MouseButton::Middle;
    default:
        return std::nullopt;
    }
}

void TPrincipaleFiche::installHooks()
{
    hooks.drawView = [this](int k) { drawViewKind(k); };
    hooks.plus = [this] {
        drawOnImage([this](Canvas& c) {
            velta::PlusButtonClick(s_, c);
            return true;
        });
    };
    hooks.minus = [this] {
        drawOnImage([this](Canvas& c) {
            velta::MoinsButtonClick(s_, c);
            return true;
        });
    };
    hooks.values = [this] {
        drawOnImage([this](Canvas& c) {
            velta::ValeurButtonClick(s_, c);
            return true;
        });
    };
    auto cursor = [this](CursorShape shape) { setImageCursor(shape); };
    hooks.mouseDown = [this](QMouseEvent* e) {
        const auto button = mouseButtonOf(e->button());
        if (!button) return;
        const QPoint p = e->position().toPoint();
        velta::MainImageMouseDown(s_, *canvas_, *button, shiftStateOf(e->modifiers(), e->buttons()), p.x(),
                                  p.y());
        mainImage_->update();
    };
    hooks.mouseMove = [this, cursor](QMouseEvent* e) {
        // Moves without a button held change nothing: the image is only
        // repainted while a gesture goes on.
        if (e->buttons() == Qt::NoButton) return;
        const QPoint p = e->position().toPoint();
        velta::MainImageMouseMove(s_, *canvas_, shiftStateOf(e->modifiers(), e->buttons()), p.x(), p.y(),
                                  cursor);
        mainImage_->update();
    };
    hooks.mouseUp = [this, cursor](QMouseEvent* e) {
        const auto button = mouseButtonOf(e->button());
        if (!button) return;
        const QPoint p = e->position().toPoint();
        velta::MainImageMouseUp(s_, *canvas_, *button, shiftStateOf(e->modifiers(), e->buttons()), p.x(),
                                p.y(), cursor);
        mainImage_->update();
    };

    hooks.analysisMenuOpening = [this] {
        s_.main.LancerCalculMenu = s_.main.caseValidated();
        const bool report = QFileInfo::exists(qs(s_.scratchFile(s_.currentSlot(), kReportExt)));
        s_.main.Resultsfilemenu = s_.main.ExportResultsMenu = report;
    };
    hooks.run = [this] {
        stopRequested_ = false;
        runner_ = makeRunner();
        RunHooks run;
        // A stopped or crashed run is read like any run: whatever it wrote
        // is checked section by section, and the reader says what is missing.
        // A run stopped because the user is leaving is not read.
        run.readResults = [this] { velta::LectureResultats(s_); };
        run.stopped = [this] { return stopRequested_; };
        run.noResults = [this] {
            if (!closeAfterRun_) show2DGeometry();
        };
        run.show3D = [this] {
            // Without the cantilever geometry the 3D view would be empty:
            // the case is shown in 2D instead.
            if (!s_.main.GeometrieButton3d) {
                show2DGeometry();
                return;
            }
            s_.main.viewButtonDown = kView3D;
            drawViewKind(kView3D);
        };
        run.runningChanged = [this] { analysisRunningChanged(); };
        LancerCalcul(s_, *runner_, run);
    };
    hooks.resultsFiles = [this] {
        const QString path = qs(s_.scratchFile(s_.currentSlot(), kReportExt));
        if (!report_) report_ = new TReportFiche(this);
        if (!report_->showFile(path))
            s_.messages.error("The results file " + path.toStdString() + " can not be read.");
    };
    hooks.exportResults = [this] {
        const auto path = askSaveFile({QStringLiteral("ExportDialog"),
                                       QStringLiteral("Export results"),
                                       QStringLiteral("csv"),
                                       {QStringLiteral("csv (*.csv)"), QStringLiteral("txt (*.txt)")}});
        if (!path) return;
        if (refuseScratchFile(path->toStdString())) return;
        try {
            ExporterResults(s_.model, s_.results, path->toStdString());
        } catch (const std::exception& e) {
            s_.messages.error(e.what());
        }
    };

    tabs_.readResults = [](Session& s) { velta::LectureResultats(s); };
    tabs_.redrawView = [this] { redrawAfterTabChange(); };
    tabs_.show2D = [this] { show2DGeometry(); };
    tabs_.showStatus = [this](const std::string& text) { statusBar()->showMessage(qs(text), 8000); };
    tabs_.fileUsed = [this](const std::string& path) { rememberFile(path); };
}

bool TPrincipaleFiche::drawOnImage(const std::function<bool(Canvas&)>& draw)
{
    const bool ok = draw(*canvas_);
    mainImage_->update();
    return ok;
}

bool TPrincipaleFiche::drawViewKind(int viewKind)
{
    lastDrawOk_ = drawOnImage([this, viewKind](Canvas& c) {
        return velta::drawViewOfKind(s_, c, viewKind);
    });
    return lastDrawOk_;
}

void TPrincipaleFiche::setImageCursor(CursorShape shape)
{
    mainImage_->setCursor(shape == CursorShape::Move ? Qt::SizeAllCursor : Qt::ArrowCursor);
}

void TPrincipaleFiche::viewButtonClick(int viewKind)
{
    clickViewButton(s_.main, viewKind);
    if (hooks.drawView) hooks.drawView(viewKind);
    syncFromState();
}

void TPrincipaleFiche::GeometrieButtonClick()
{
    viewButtonClick(kView2D);
}
void TPrincipaleFiche::GeometrieButton3dClick()
{
    viewButtonClick(kView3D);
}
void TPrincipaleFiche::DeformeeButtonClick()
{
    viewButtonClick(kViewDeflection);
}
void TPrincipaleFiche::SiButtonClick()
{
    viewButtonClick(kViewStresses);
}
void TPrincipaleFiche::FappuiButtonClick()
{
    viewButtonClick(kViewForces);
}
void TPrincipaleFiche::LoadButtonClick()
{
    viewButtonClick(kViewLoads);
}

void TPrincipaleFiche::redrawView()
{
    if (hooks.drawView) hooks.drawView(s_.view.ViewKind);
}

void TPrincipaleFiche::redrawAfterTabChange()
{
    const ViewSpec* v = viewByKind(s_.view.ViewKind);
    const bool available = !v || viewAvailable(s_.main, *v);
    // A view whose data the case read back lacks would only draw a failure.
    if (available)
        redrawView();
    else
        show2DGeometry();
}

void TPrincipaleFiche::show2DGeometry()
{
    s_.main.viewButtonDown = kView2D;
    if (hooks.drawView) hooks.drawView(kView2D);
}

void TPrincipaleFiche::PlusButtonClick()
{
    if (hooks.plus) hooks.plus();
    syncFromState();
}
void TPrincipaleFiche::MoinsButtonClick()
{
    if (hooks.minus) hooks.minus();
    syncFromState();
}
void TPrincipaleFiche::ValeurButtonClick()
{
    if (hooks.values) hooks.values();
    syncFromState();
}

void TPrincipaleFiche::MainImageMouseDown(QMouseEvent* e)
{
    if (hooks.mouseDown) hooks.mouseDown(e);
    syncFromState();
}
void TPrincipaleFiche::MainImageMouseMove(QMouseEvent* e)
{
    if (hooks.mouseMove) hooks.mouseMove(e);
}
void TPrincipaleFiche::MainImageMouseUp(QMouseEvent* e)
{
    if (hooks.mouseUp) hooks.mouseUp(e);
    syncFromState();
}

// ---- menus ----

bool TPrincipaleFiche::refuseWhileRunning()
{
    if (!s_.main.analysisRunning) return false;
    statusBar()->showMessage(QString::fromUtf8(kWaitForRunText), 5000);
    return true;
}

bool TPrincipaleFiche::stopBeforeLeaving()
{
    if (closeAfterRun_) return true;
    if (dialogs_.askYesNoCancel(kStopBeforeExitText) != Answer::Yes) return false;
    closeAfterRun_ = true;
    StopMenuClick();
    return true;
}

void TPrincipaleFiche::OuvrirMenuClick()
{
    if (refuseWhileRunning()) return;
    tabs_.open();
    syncFromState();
}
void TPrincipaleFiche::EnregistrerMenuClick()
{
    tabs_.save();
    syncFromState();
}
void TPrincipaleFiche::EnregistrerSousMenuClick()
{
    tabs_.saveAs();
    syncFromState();
}
void TPrincipaleFiche::QuitterMenuClick()
{
    if (s_.main.analysisRunning) {
        stopBeforeLeaving();
        return;
    }
    if (tabs_.exit()) {
        exiting_ = true;
        close();
    }
    syncFromState();
}

void TPrincipaleFiche::SavePictureMenuClick()
{
    const auto path = askSaveFile({QStringLiteral("PictureDialog"),
                                   QStringLiteral("Save picture"),
                                   QStringLiteral("png"),
                                   {QStringLiteral("png (*.png)")}});
    if (!path) return;
    if (refuseScratchFile(path->toStdString())) return;
    try {
        writePng(path->toStdString(), mainImage_->shownImage());
    } catch (const FileWriteError& e) {
        s_.messages.error("The picture can not be saved: " + std::string(e.what()));
    }
}

void TPrincipaleFiche::UniteMenuClickSlot()
{
    UniteMenuClick(s_);
    // The view shown is drawn again in the new units.
    if (lastDrawOk_) redrawView();
    syncFromState();
}

bool TPrincipaleFiche::refuseScratchFile(const std::string& path)
{
    if (!tabs_.isScratchFile(path)) return false;
    s_.messages.error(path + " is a scratch file of the program, deleted at every start: "
                             "choose another name or folder.");
    return true;
}

void TPrincipaleFiche::editCase(QDialog* editor)
{
    const std::string before = tabs_.caseSnapshot();
    editor->exec();
    tabs_.caseEdited(before);
}

void TPrincipaleFiche::ContoursButtonClick()
{
    const int kind = contourViewAfter(s_, s_.view.ViewKind);
    if (kind < 0) return;
    s_.main.viewButtonDown = -1;
    drawViewKind(kind);
    syncFromState();
}

void TPrincipaleFiche::ReportMenuClick()
{
    if (!reportAvailable(s_)) return;
    const auto path = askSaveFile({QStringLiteral("ReportDialog"),
                                   QStringLiteral("Report (PDF)"),
                                   QStringLiteral("pdf"),
                                   {QStringLiteral("pdf (*.pdf)")}});
    if (!path) return;
    if (refuseScratchFile(path->toStdString())) return;
    ReportSources src;
    const int slot = s_.currentSlot();
    const std::string caseFile = slot < kTabSlots ? s_.model.CaseFile[slot] : std::string();
    src.caseFile = caseFile.empty() || caseFile == "VELTA"
                       ? (slot < static_cast<int>(s_.main.tabs.size()) ? s_.main.tabs[slot] : std::string("VELTA"))
                       : QFileInfo(qs(caseFile)).fileName().toStdString();
    QFile out(qs(s_.scratchFile(slot, kReportExt)));
    if (out.open(QIODevice::ReadOnly)) src.outText = out.readAll().toStdString();
    src.when = QDateTime::currentDateTime();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        writeReport(s_, src, path->toStdString());
    } catch (const std::exception& e) {
        QApplication::restoreOverrideCursor();
        s_.messages.error("The report can not be saved: " + std::string(e.what()));
        return;
    }
    QApplication::restoreOverrideCursor();
}

void TPrincipaleFiche::GeometrieMenuClick()
{
    editCase(geometry_);
    syncFromState();
}
void TPrincipaleFiche::MateriauxMenuClick()
{
    editCase(material_);
    syncFromState();
}
void TPrincipaleFiche::ChargementMenuClick()
{
    if (loadsEditorAllowed(s_)) editCase(loads_);
    syncFromState();
}

void TPrincipaleFiche::Calcul1Click()
{
    if (hooks.analysisMenuOpening) hooks.analysisMenuOpening();
    syncFromState();
}
void TPrincipaleFiche::LancerCalculMenuClick()
{
    if (refuseWhileRunning()) return;
    // "Run" is offered only for a case whose three parts are accepted.
    if (!s_.main.caseValidated()) return;
    if (hooks.run) hooks.run();
    syncFromState();
    if (closeAfterRun_) {
        closeAfterRun_ = false;
        close();
    }
}
void TPrincipaleFiche::ResultsfilemenuClick()
{
    if (hooks.resultsFiles) hooks.resultsFiles();
    syncFromState();
}
void TPrincipaleFiche::ExportResultsMenuClick()
{
    if (hooks.exportResults) hooks.exportResults();
    syncFromState();
}

void TPrincipaleFiche::StopMenuClick()
{
    if (!s_.main.analysisRunning || !runner_) return;
    stopRequested_ = true;
    runner_->stop();
}

void TPrincipaleFiche::analysisRunningChanged()
{
    const bool running = s_.main.analysisRunning;
    // The busy cursor says the program works; the window stays usable.
    if (running)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QApplication::restoreOverrideCursor();
    runLabel_->setVisible(running);
    stopButton_->setVisible(running);
    if (!running && stopRequested_) statusBar()->showMessage(QString::fromUtf8(kStoppedText), 5000);
    syncFromState();
}

// ---- tab bar ----

void TPrincipaleFiche::tabPopupMenuPopup()
{
    const CaseTabs::PopupState p = tabs_.popupState();
    tabDuplicate_->setEnabled(p.duplicate && !s_.main.analysisRunning);
    tabSave_->setEnabled(p.save);
    tabSaveAs_->setEnabled(p.saveAs);
    tabClose_->setEnabled(p.close && !s_.main.analysisRunning);
}

void TPrincipaleFiche::Renommer1Click()
{
    tabs_.rename();
    syncFromState();
}
void TPrincipaleFiche::tabDupliquermenuClick()
{
    if (refuseWhileRunning()) return;
    tabs_.duplicate();
    syncFromState();
}
void TPrincipaleFiche::TabFermerMenuClick()
{
    if (refuseWhileRunning()) return;
    tabs_.close();
    syncFromState();
}

void TPrincipaleFiche::TabControlChange(int index)
{
    // A refused change puts the selection back (without events) in the sync.
    if (!refuseWhileRunning()) tabs_.changeTab(index);
    syncFromState();
}

} // namespace velta
