#include "app/MainWindow.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include "app/About.h"
#include "app/GeometryDialog.h"
#include "app/LoadsDialog.h"
#include "app/MaterialDialog.h"
#include "app/shell/ScratchArea.h"

namespace velta {

namespace {
QString qs(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

// ---- dialogs of the desktop program ----

void WidgetMessages::show(MessageKind kind, const std::string& text)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (kind) {
        case MessageKind::Error: icon = QMessageBox::Critical; break;
        case MessageKind::Warning: icon = QMessageBox::Warning; break;
        case MessageKind::Information: icon = QMessageBox::Information; break;
        case MessageKind::Plain: break;
    }
    QMessageBox box(icon, QStringLiteral("VELTA"), qs(text), QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

std::optional<std::string> WidgetPrompter::askText(const std::string& title, const std::string& prompt,
                                                   const std::string& defaultText)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(QApplication::activeWindow(), qs(title), qs(prompt),
                                                 QLineEdit::Normal, qs(defaultText), &ok);
    if (!ok) return std::nullopt;
    return answer.toStdString();
}

std::optional<std::string> WidgetShellDialogs::openFile()
{
    const QString path = QFileDialog::getOpenFileName(QApplication::activeWindow(), QStringLiteral("Open"));
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

std::optional<std::string> WidgetShellDialogs::saveFile(const std::string& caseLabel)
{
    QFileDialog dialog(QApplication::activeWindow(),
                       caseLabel.empty() ? QStringLiteral("Save as") : QStringLiteral("Save as: ") + qs(caseLabel));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
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

void TMainImage::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.drawImage(0, 0, image_);
}

void TMainImage::resizeEvent(QResizeEvent*)
{
    if (image_.size() != size()) clearImage();
}

// ---- main window ----

TPrincipaleFiche::TPrincipaleFiche(Session& s, ShellDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), s_(s), tabs_(s, dialogs)
{
    setObjectName(QStringLiteral("PrincipaleFiche"));
    setWindowTitle(QStringLiteral("VELTA"));
    openDocument = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    buildWidgets();
    buildMenus();

    tabs_.redrawView = [this] { redrawView(); };
    tabs_.show2D = [this] { show2DGeometry(); };

    // The other windows, created once and shown when needed.
    auto redraw2D = [this] {
        if (hooks.drawView) hooks.drawView(kView2D);
    };
    geometry_ = new TGeometrieFiche(s_, redraw2D, this);
    material_ = new TMateriauFiche(s_, redraw2D, this);
    loads_ = new TChargementFiche(s_, redraw2D, this);
    about_ = new TAProposFiche(this);
    syncFromState();
}

TPrincipaleFiche::~TPrincipaleFiche() = default;

void TPrincipaleFiche::buildWidgets()
{
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(central);

    struct ButtonSpec {
        const char* name;
        const char* caption;
        void (TPrincipaleFiche::*click)();
    };
    // In ViewKind order: 2D, deflection, stresses, forces, 3D, loads.
    const ButtonSpec specs[6] = {
        {"GeometrieButton", "2D Geometry", &TPrincipaleFiche::GeometrieButtonClick},
        {"DeformeeButton", "Radial deflection", &TPrincipaleFiche::DeformeeButtonClick},
        {"SiButton", "Principal stresses", &TPrincipaleFiche::SiButtonClick},
        {"FappuiButton", "Forces on abutment", &TPrincipaleFiche::FappuiButtonClick},
        {"GeometrieButton3d", "3D Geometry", &TPrincipaleFiche::GeometrieButton3dClick},
        {"LoadButton", "Arch/Cantilever loads", &TPrincipaleFiche::LoadButtonClick},
    };
    // The group keeps at most one button down but lets it be raised again,
    // so it is not exclusive: the session decides which one is down.
    viewGroup_ = new QButtonGroup(this);
    viewGroup_->setExclusive(false);
    for (int k = 0; k < 6; ++k) {
        auto* b = new QPushButton(QString::fromUtf8(specs[k].caption), central);
        b->setObjectName(QString::fromUtf8(specs[k].name));
        b->setCheckable(true);
        b->setEnabled(false);
        viewGroup_->addButton(b, k);
        connect(b, &QPushButton::clicked, this, specs[k].click);
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
    connect(mainImage_, &TMainImage::mouseDown, this, &TPrincipaleFiche::MainImageMouseDown);
    connect(mainImage_, &TMainImage::mouseMove, this, &TPrincipaleFiche::MainImageMouseMove);
    connect(mainImage_, &TMainImage::mouseUp, this, &TPrincipaleFiche::MainImageMouseUp);
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
    addEntry(file, "OuvrirMenu", "Open", this, &TPrincipaleFiche::OuvrirMenuClick);
    addEntry(file, "EnregistrerMenu", "Save", this, &TPrincipaleFiche::EnregistrerMenuClick);
    addEntry(file, "EnregistrerSousMenu", "Save as", this, &TPrincipaleFiche::EnregistrerSousMenuClick);
    addEntry(file, "QuitterMenu", "Exit", this, &TPrincipaleFiche::QuitterMenuClick);

    QMenu* data = addMenu("DonneesMenu", "Data");
    unitMenu_ = addEntry(data, "UniteMenu", MainWindowState::kUnitMenuInitialCaptionText, this,
                         &TPrincipaleFiche::UniteMenuClickSlot);
    geoMenu_ = addEntry(data, "GeometrieMenu", "Geometry", this, &TPrincipaleFiche::GeometrieMenuClick);
    matMenu_ = addEntry(data, "MateriauxMenu", "Material properties", this, &TPrincipaleFiche::MateriauxMenuClick);
    loadsMenu_ = addEntry(data, "ChargementMenu", "Loads", this, &TPrincipaleFiche::ChargementMenuClick);
    for (QAction* a : {geoMenu_, matMenu_, loadsMenu_}) a->setCheckable(true);

    QMenu* analysis = addMenu("Calcul1", "Analysis");
    runMenu_ = addEntry(analysis, "LancerCalculMenu", "Run", this, &TPrincipaleFiche::LancerCalculMenuClick);
    resultsMenu_ = addEntry(analysis, "Resultsfilemenu", "Results files (imp. unit)", this,
                            &TPrincipaleFiche::ResultsfilemenuClick);
    exportMenu_ = addEntry(analysis, "ExportResultsMenu", "Export results (.csv)", this,
                           &TPrincipaleFiche::ExportResultsMenuClick);
    connect(analysis, &QMenu::aboutToShow, this, &TPrincipaleFiche::Calcul1Click);

    QMenu* help = addMenu("AideMenu", "Help");
    addEntry(help, "HowToUseMenu", "How to use Velta", this,
             [this] { openHelp(QStringLiteral("How_to_use_Velta.pdf")); });
    addEntry(help, "GuideMenu", "VELTA original user's guide", this,
             [this] { openHelp(QStringLiteral("VELTA_guide_1997.PDF")); });
    addEntry(help, "HistoryMenu", "Trial-Load method and arch dam design", this,
             [this] { openHelp(QStringLiteral("Trial_load_method_history.pdf")); });
    addEntry(help, "GuidelinesMenu", "French guidelines for arch dams", this,
             [this] { openDocument(QUrl(QString::fromLatin1(kGuidelinesUrl))); });
    addEntry(help, "AProposMenu", "About this program", this, [this] { about_->exec(); });
}

void TPrincipaleFiche::openHelp(const QString& fileName)
{
    openDocument(QUrl::fromLocalFile(qs(s_.model.ProgramDir) + fileName));
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
    const MainLayout l = computeMainLayout(screen);
    resize(l.window);
    // Widgets are placed in the client area, below the menu bar.
    centralWidget()->setMinimumSize(l.window.width(), l.image.bottom() + 1);
    const int order[6] = {kView2D, kView3D, kViewDeflection, kViewStresses, kViewForces, kViewLoads};
    for (int i = 0; i < 6; ++i) viewButtons_[order[i]]->setGeometry(l.viewButtons[i]);
    scaleLabel_->setGeometry(l.scaleLabel);
    // The label's one line must fit its width; a smaller font when it does not.
    QFont f = font();
    while (f.pointSizeF() > 6 && QFontMetrics(f).horizontalAdvance(scaleLabel_->text()) > l.scaleLabel.width())
        f.setPointSizeF(f.pointSizeF() - 0.5);
    scaleLabel_->setFont(f);
    plus_->setGeometry(l.plus);
    minus_->setGeometry(l.minus);
    values_->setGeometry(l.values);
    tabBar_->setGeometry(l.tabBar);
    mainImage_->setGeometry(l.image);
}

void TPrincipaleFiche::syncFromState()
{
    const MainWindowState& w = s_.main;
    setWindowTitle(qs(w.caption));
    const bool enabled[6] = {w.GeometrieButton, w.DeformeeButton, w.SiButton,
                             w.FappuiButton,    w.GeometrieButton3d, w.LoadButton};
    for (int k = 0; k < 6; ++k) {
        viewButtons_[k]->setEnabled(enabled[k]);
        viewButtons_[k]->setChecked(w.viewButtonDown == k);
    }
    scaleLabel_->setEnabled(w.ScaleLabel);
    plus_->setEnabled(w.PlusButton);
    minus_->setEnabled(w.MoinsButton);
    values_->setEnabled(w.ValeurButton);

    geoMenu_->setChecked(w.GeometrieMenu);
    matMenu_->setChecked(w.MateriauxMenu);
    loadsMenu_->setChecked(w.ChargementMenu);
    unitMenu_->setText(qs(w.UniteMenuCaption));
    runMenu_->setEnabled(w.LancerCalculMenu);
    resultsMenu_->setEnabled(w.Resultsfilemenu);
    exportMenu_->setEnabled(w.ExportResultsMenu);

    // Programmatic changes of the tab bar raise no events.
    const QSignalBlocker block(tabBar_);
    while (tabBar_->count() > static_cast<int>(w.tabs.size())) tabBar_->removeTab(tabBar_->count() - 1);
    for (int i = 0; i < static_cast<int>(w.tabs.size()); ++i) {
        if (i < tabBar_->count())
            tabBar_->setTabText(i, qs(w.tabs[i]));
        else
            tabBar_->addTab(qs(w.tabs[i]));
    }
    if (w.tabIndex >= 0 && w.tabIndex < tabBar_->count()) tabBar_->setCurrentIndex(w.tabIndex);
    mainImage_->setToolTip(qs(w.MainImageHint));
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

void TPrincipaleFiche::viewButtonClick(int viewKind)
{
    clickViewButton(s_.main, viewKind);
    if (hooks.drawView) hooks.drawView(viewKind);
    syncFromState();
}

void TPrincipaleFiche::GeometrieButtonClick() { viewButtonClick(kView2D); }
void TPrincipaleFiche::GeometrieButton3dClick() { viewButtonClick(kView3D); }
void TPrincipaleFiche::DeformeeButtonClick() { viewButtonClick(kViewDeflection); }
void TPrincipaleFiche::SiButtonClick() { viewButtonClick(kViewStresses); }
void TPrincipaleFiche::FappuiButtonClick() { viewButtonClick(kViewForces); }
void TPrincipaleFiche::LoadButtonClick() { viewButtonClick(kViewLoads); }

void TPrincipaleFiche::redrawView()
{
    if (hooks.drawView) hooks.drawView(s_.view.ViewKind);
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

void TPrincipaleFiche::OuvrirMenuClick()
{
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
    if (tabs_.exit()) {
        exiting_ = true;
        close();
    }
    syncFromState();
}

void TPrincipaleFiche::UniteMenuClickSlot()
{
    UniteMenuClick(s_);
    syncFromState();
}

void TPrincipaleFiche::GeometrieMenuClick()
{
    geometry_->exec();
    syncFromState();
}
void TPrincipaleFiche::MateriauxMenuClick()
{
    material_->exec();
    syncFromState();
}
void TPrincipaleFiche::ChargementMenuClick()
{
    if (loadsEditorAllowed(s_)) loads_->exec();
    syncFromState();
}

void TPrincipaleFiche::Calcul1Click()
{
    if (hooks.analysisMenuOpening) {
        hooks.analysisMenuOpening();
    } else {
        s_.main.LancerCalculMenu = s_.main.caseValidated();
        const bool report = QFileInfo::exists(qs(s_.scratchFile(s_.currentSlot(), kReportExt)));
        s_.main.Resultsfilemenu = s_.main.ExportResultsMenu = report;
    }
    syncFromState();
}
void TPrincipaleFiche::LancerCalculMenuClick()
{
    if (hooks.run) hooks.run();
    syncFromState();
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

// ---- tab bar ----

void TPrincipaleFiche::tabPopupMenuPopup()
{
    const CaseTabs::PopupState p = tabs_.popupState();
    tabDuplicate_->setEnabled(p.duplicate);
    tabSave_->setEnabled(p.save);
    tabSaveAs_->setEnabled(p.saveAs);
    tabClose_->setEnabled(p.close);
}

void TPrincipaleFiche::Renommer1Click()
{
    tabs_.rename();
    syncFromState();
}
void TPrincipaleFiche::tabDupliquermenuClick()
{
    tabs_.duplicate();
    syncFromState();
}
void TPrincipaleFiche::TabFermerMenuClick()
{
    tabs_.close();
    syncFromState();
}

void TPrincipaleFiche::TabControlChange(int index)
{
    // A refused change puts the selection back (without events) in the sync.
    tabs_.changeTab(index);
    syncFromState();
}

}  // namespace velta
