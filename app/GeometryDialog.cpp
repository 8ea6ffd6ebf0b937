#include "app/GeometryDialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/EditorGrid.h"
#include "app/EditorLayoutPicture.h"
#include "app/EditorTabBar.h"
#include "app/EditorWidgets.h"
#include "forms/GeometryForm.h"

namespace velta {

TGeometrieFiche::TGeometrieFiche(Session& session, std::function<void()> redraw2D, QWidget* parent)
    : QDialog(parent), s_(session), redraw2D_(std::move(redraw2D))
{
    setObjectName(QStringLiteral("GeometrieFiche"));
    setWindowTitle(QStringLiteral("Geometry"));
    setModal(true);

    // Scalars and the layout picture.
    auto* scalars = new QGridLayout;
    nbCenterEdit_ = new QSpinBox(this);
    nbCenterEdit_->setObjectName(QStringLiteral("NbCenterEdit"));
    nbCenterEdit_->setRange(1, 2);
    nbCenterEdit_->setFixedWidth(50);
    topDEdit_ = namedEdit("TopDEdit", this);
    baseDEdit_ = namedEdit("BaseDEdit", this);
    radiusEdit_ = namedEdit("RadiusEdit", this);
    radiusEditR_ = namedEdit("RadiusEditR", this);
    topDUnitLabel_ = namedLabel("TopDUnitLabel", QStringLiteral("ft"), this);
    baseDUnitLabel_ = namedLabel("BaseDUnitLabel", QStringLiteral("ft"), this);
    radiusUnitLabel_ = namedLabel("RadiusUnitLabel", QStringLiteral("ft"), this);
    radiusUnitLabelR_ = namedLabel("RadiusUnitLabelR", QStringLiteral("ft"), this);
    radiusLabel_ = namedLabel("RadiusLabel", QStringLiteral("Radius"), this);
    radiusLabelR_ = namedLabel("RadiusLabelR", QStringLiteral(" Right Radius"), this);
    scalars->addWidget(new QLabel(QStringLiteral("Nb of centers"), this), 0, 0);
    scalars->addWidget(nbCenterEdit_, 0, 1);
    scalars->addWidget(new QLabel(QStringLiteral("Top of the dam"), this), 1, 0);
    scalars->addWidget(topDEdit_, 1, 1);
    scalars->addWidget(topDUnitLabel_, 1, 2);
    scalars->addWidget(new QLabel(QStringLiteral("Base of the dam"), this), 2, 0);
    scalars->addWidget(baseDEdit_, 2, 1);
    scalars->addWidget(baseDUnitLabel_, 2, 2);
    scalars->addWidget(radiusLabel_, 3, 0);
    scalars->addWidget(radiusEdit_, 3, 1);
    scalars->addWidget(radiusUnitLabel_, 3, 2);
    scalars->addWidget(radiusLabelR_, 4, 0);
    scalars->addWidget(radiusEditR_, 4, 1);
    scalars->addWidget(radiusUnitLabelR_, 4, 2);
    scalars->setColumnMinimumWidth(2, 18);
    layoutImage_ = new QLabel(this);
    layoutImage_->setObjectName(QStringLiteral("LayoutImage"));
    layoutImage_->setFixedSize(kLayoutPictureWidth, kLayoutPictureHeight);
    layoutImage_->setFrameShape(QFrame::Box);
    layoutImage_->setFrameShadow(QFrame::Sunken);
    layoutImage_->setLineWidth(1);
    auto* left = new QVBoxLayout;
    left->addLayout(scalars);
    left->addSpacing(8);
    left->addWidget(layoutImage_, 0, Qt::AlignHCenter);
    left->addStretch(1);

    // Face tables: one strip of tabs over one table.
    auto* faceBox = new QGroupBox(QStringLiteral("Face description"), this);
    faceTabControl_ = new RefusableTabBar(faceBox);
    faceTabControl_->setObjectName(QStringLiteral("FaceTabControl"));
    structureGrid_ = new EditorGrid(s_.geo.StructureStringGrid, true, faceBox);
    structureGrid_->setObjectName(QStringLiteral("StructureStringGrid"));
    structureGrid_->setToolTip(QString::fromUtf8(GeometryEditorState::kFaceGridHint));
    structureGrid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    structureGrid_->horizontalHeader()->setMinimumHeight(3 * fontMetrics().height());
    auto* faceLayout = new QVBoxLayout(faceBox);
    faceLayout->setSpacing(0);
    faceLayout->addWidget(faceTabControl_);
    faceLayout->addWidget(structureGrid_);

    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addWidget(faceBox, 1);

    // Angle convention and arch table.
    auto* angleBox = new QGroupBox(QStringLiteral("definition of angles to abutement"), this);
    angleBox->setObjectName(QStringLiteral("AngleRadioGroup"));
    angleGroup_ = new QButtonGroup(angleBox);
    auto* phiButton = new QRadioButton(QStringLiteral("from upstream line of center (Phi)"), angleBox);
    auto* aButton = new QRadioButton(QStringLiteral("from general axis center (A)"), angleBox);
    angleGroup_->addButton(phiButton, 0);
    angleGroup_->addButton(aButton, 1);
    phiButton->setChecked(true);
    auto* angleLayout = new QVBoxLayout(angleBox);
    angleLayout->addWidget(phiButton);
    angleLayout->addWidget(aButton);
    angleLayout->addStretch(1);

    auto* arcBox = new QGroupBox(QStringLiteral("Archs  - Cantilevers Grid Description"), this);
    arcGrid_ = new EditorGrid(s_.geo.ArcStringGrid, true, arcBox);
    arcGrid_->setObjectName(QStringLiteral("ArcStringGrid"));
    arcGrid_->setToolTip(QString::fromUtf8(GeometryEditorState::kArcGridHint));
    arcGrid_->setMinimumHeight(12 * arcGrid_->verticalHeader()->defaultSectionSize());
    auto* arcLayout = new QVBoxLayout(arcBox);
    arcLayout->addWidget(arcGrid_);

    auto* angleColumn = new QVBoxLayout;
    angleColumn->addWidget(angleBox);
    angleColumn->addStretch(1);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(angleColumn);
    bottom->addWidget(arcBox, 1);

    auto* annuler = new QPushButton(QStringLiteral("Annuler"), this);
    annuler->setObjectName(QStringLiteral("AnnulerButton"));
    annuler->setAutoDefault(false);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(annuler);
    buttons->addWidget(ok);

    auto* main = new QVBoxLayout(this);
    main->addLayout(top, 3);
    main->addLayout(bottom, 2);
    main->addLayout(buttons);
    resize(1000, 720);

    // Right-click menus.
    facePopupMenu_ = new QMenu(this);
    facePopupMenu_->setObjectName(QStringLiteral("FacePopupMenu"));
    faceInsert_ = facePopupMenu_->addAction(QStringLiteral("Insert below"));
    faceChange_ = facePopupMenu_->addAction(QStringLiteral("Change elevation"));
    faceRemove_ = facePopupMenu_->addAction(QStringLiteral("Remove"));
    faceCopy_ = facePopupMenu_->addAction(QStringLiteral("Copy elevations from prev. tab"));
    arcPopupMenu_ = new QMenu(this);
    arcPopupMenu_->setObjectName(QStringLiteral("ArcPopupMenu"));
    arcInsert_ = arcPopupMenu_->addAction(QStringLiteral("Insert below"));
    arcChange_ = arcPopupMenu_->addAction(QStringLiteral("Change elevation"));
    arcRemove_ = arcPopupMenu_->addAction(QStringLiteral("Remove"));
    connect(facePopupMenu_, &QMenu::aboutToShow, this, &TGeometrieFiche::updateMenus);
    connect(arcPopupMenu_, &QMenu::aboutToShow, this, &TGeometrieFiche::updateMenus);

    const auto command = [this](auto&& body) {
        return [this, body]() {
            beginCommand();
            runCommand(s_, body);
            refresh();
        };
    };
    connect(faceInsert_, &QAction::triggered, this, command([this] { gridInsertBelow(s_, GridKind::Face); }));
    connect(faceChange_, &QAction::triggered, this,
            command([this] { gridChangeElevation(s_, GridKind::Face); }));
    connect(faceRemove_, &QAction::triggered, this, command([this] { gridRemove(s_, GridKind::Face); }));
    connect(faceCopy_, &QAction::triggered, this, command([this] { faceCopyElevationsFromPrevTab(s_); }));
    connect(arcInsert_, &QAction::triggered, this, command([this] { gridInsertBelow(s_, GridKind::Arc); }));
    connect(arcChange_, &QAction::triggered, this,
            command([this] { gridChangeElevation(s_, GridKind::Arc); }));
    connect(arcRemove_, &QAction::triggered, this, command([this] { gridRemove(s_, GridKind::Arc); }));

    // A right click makes the row under the pointer the current row, then
    // opens the table's menu.
    const auto popup = [this](EditorGrid* grid, QMenu* menu) {
        return [this, grid, menu](const QPoint& pos) {
            beginCommand();
            const int row = grid->stateRowAt(pos);
            if (row > 0) {
                const int col = grid->columnAt(pos.x());
                grid->setCurrentCell(row - 1, col < 0 ? grid->currentColumn() : col);
            }
            menu->exec(grid->viewport()->mapToGlobal(pos));
        };
    };
    connect(structureGrid_, &QWidget::customContextMenuRequested, this,
            popup(structureGrid_, facePopupMenu_));
    connect(arcGrid_, &QWidget::customContextMenuRequested, this, popup(arcGrid_, arcPopupMenu_));

    // Controls bound to the editor state.
    connect(nbCenterEdit_, &QSpinBox::valueChanged, this, [this](int value) {
        if (refreshing_) return;
        beginCommand();
        s_.geo.NbCenterEdit = value;
        runCommand(s_, [this] { NbCenterEditChange(s_); });
        refresh();
    });
    connect(topDEdit_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (refreshing_) return;
        beginCommand();
        s_.geo.TopDEdit = text.toStdString();
        runCommand(s_, [this] { TopDEditChange(s_); });
        refresh();
    });
    connect(baseDEdit_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (refreshing_) return;
        beginCommand();
        s_.geo.BaseDEdit = text.toStdString();
        runCommand(s_, [this] { BaseDEditChange(s_); });
        refresh();
    });
    connect(radiusEdit_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!refreshing_) s_.geo.RadiusEdit = text.toStdString();
    });
    connect(radiusEditR_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!refreshing_) s_.geo.RadiusEditR = text.toStdString();
    });
    connect(faceTabControl_, &RefusableTabBar::changeRequested, this, [this](int index) {
        beginCommand();
        runCommand(s_, [this, index] { selectFaceTab(s_, index); });
        refresh();
    });
    connect(angleGroup_, &QButtonGroup::idClicked, this, [this](int id) {
        if (refreshing_) return;
        beginCommand();
        if (id != s_.geo.AngleRadioGroup) runCommand(s_, [this, id] { AngleRadioGroupClick(s_, id); });
        refresh();
    });
    connect(ok, &QPushButton::clicked, this, &TGeometrieFiche::OKButtonClick);
    connect(annuler, &QPushButton::clicked, this, &TGeometrieFiche::reject);

    refresh();
}

void TGeometrieFiche::showEvent(QShowEvent* event)
{
    // Every showing reloads the controls from the case model; a window
    // restored from the task bar is not a new showing.
    if (!event->spontaneous()) {
        runCommand(s_, [this] { GeometryFormActivate(s_); });
        refresh();
    }
    QDialog::showEvent(event);
}

void TGeometrieFiche::beginCommand()
{
    structureGrid_->commitPendingEdit();
    arcGrid_->commitPendingEdit();
}

void TGeometrieFiche::OKButtonClick()
{
    beginCommand();
    // A face table that fails its validation stops "OK" before the commit,
    // and the main window's view is left alone; once the commit has run, the
    // view is redrawn whether or not it validated the geometry. The table is
    // validated here first to tell the two apart; validating it again inside
    // OK finds it complete and changes nothing.
    bool allow = true;
    if (!runCommand(s_, [&] { FaceTabControlChanging(s_, allow); }) || !allow) {
        refresh();
        return;
    }
    bool validated = false;
    const bool finished = runCommand(s_, [&] { validated = GeometryOKButtonClick(s_); });
    refresh();
    if (finished && redraw2D_) redraw2D_();
    if (validated) QDialog::accept();
}

void TGeometrieFiche::reject()
{
    beginCommand();
    runCommand(s_, [this] { GeometryAnnulerButtonClick(s_); });
    refresh();
    QDialog::reject();
}

void TGeometrieFiche::updateMenus()
{
    GridMenuItems face, arc;
    runCommand(s_, [&] {
        face = gridMenuItems(s_, GridKind::Face);
        arc = gridMenuItems(s_, GridKind::Arc);
    });
    faceInsert_->setEnabled(face.insertBelow);
    faceChange_->setEnabled(face.changeElevation);
    faceRemove_->setEnabled(face.remove);
    faceCopy_->setEnabled(face.copyFromPrevTab);
    arcInsert_->setEnabled(arc.insertBelow);
    arcChange_->setEnabled(arc.changeElevation);
    arcRemove_->setEnabled(arc.remove);
}

void TGeometrieFiche::refresh()
{
    refreshing_ = true;
    const GeometryEditorState& g = s_.geo;
    if (nbCenterEdit_->value() != g.NbCenterEdit) nbCenterEdit_->setValue(g.NbCenterEdit);
    showText(topDEdit_, g.TopDEdit);
    showText(baseDEdit_, g.BaseDEdit);
    showText(radiusEdit_, g.RadiusEdit);
    showText(radiusEditR_, g.RadiusEditR);
    const QString unit = QString::fromStdString(g.unitLabel);
    for (QLabel* label : {topDUnitLabel_, baseDUnitLabel_, radiusUnitLabel_, radiusUnitLabelR_})
        label->setText(unit);
    radiusLabel_->setText(QString::fromStdString(g.RadiusLabel));
    radiusLabelR_->setText(QString::fromStdString(g.RadiusLabelR));
    radiusLabelR_->setVisible(g.rightRadiusVisible);
    radiusEditR_->setVisible(g.rightRadiusVisible);
    radiusUnitLabelR_->setVisible(g.rightRadiusVisible);
    if (picture_ != g.layoutPicture) {
        picture_ = g.layoutPicture;
        layoutImage_->setPixmap(layoutPicture(picture_));
    }
    QStringList captions;
    for (const std::string& caption : g.faceTabs) captions << QString::fromStdString(caption);
    faceTabControl_->setTabsSilently(captions, g.faceTabIndex);
    structureGrid_->refresh();
    arcGrid_->refresh();
    if (QAbstractButton* b = angleGroup_->button(g.AngleRadioGroup); b && !b->isChecked())
        b->setChecked(true);
    updateMenus();
    refreshing_ = false;
}

} // namespace velta
