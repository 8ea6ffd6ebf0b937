#include "app/LoadsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "app/EditorGrid.h"
#include "app/EditorWidgets.h"
#include "forms/LoadsForm.h"

namespace velta {

TChargementFiche::TChargementFiche(Session& session, std::function<void()> redraw2D, QWidget* parent)
    : QDialog(parent), s_(session), redraw2D_(std::move(redraw2D))
{
    setObjectName(QStringLiteral("ChargementFiche"));
    setWindowTitle(QStringLiteral("Loads"));
    setModal(true);

    groutComboBox_ = new QComboBox(this);
    groutComboBox_->setObjectName(QStringLiteral("GroutComboBox"));
    groutComboBox_->setFixedWidth(110);
    rweEdit_ = namedEdit("RweEdit", this, 110);
    tweEdit_ = namedEdit("TweEdit", this, 110);
    auto* accelerationEdit = namedEdit("AccelerationEdit", this, 110);
    groutUnitLabel_ = namedLabel("GroutUnitLabel", QStringLiteral("ft"), this);
    rweUnitLabel_ = namedLabel("RweUnitLabel", QStringLiteral("ft"), this);
    tweUnitLabel_ = namedLabel("TweUnitLabel", QStringLiteral("ft"), this);
    auto* accelerationLabel =
        namedLabel("AccelerationLabel", QStringLiteral("Earthquake acceleration"), this);
    auto* accelerationUnit = namedLabel("AccelerationUnitLabel", QStringLiteral("g"), this);
    // Shown for completeness; it takes no input and feeds nothing.
    for (QWidget* w : std::initializer_list<QWidget*>{accelerationEdit, accelerationLabel, accelerationUnit})
        w->setEnabled(false);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Top of grout elevation"), this), 0, 0);
    fields->addWidget(groutComboBox_, 0, 1);
    fields->addWidget(groutUnitLabel_, 0, 2);
    fields->addWidget(new QLabel(QStringLiteral("reservoir water elevation"), this), 1, 0);
    fields->addWidget(rweEdit_, 1, 1);
    fields->addWidget(rweUnitLabel_, 1, 2);
    fields->addWidget(new QLabel(QStringLiteral("Tailwater water elevation"), this), 2, 0);
    fields->addWidget(tweEdit_, 2, 1);
    fields->addWidget(tweUnitLabel_, 2, 2);
    fields->addWidget(accelerationLabel, 3, 0);
    fields->addWidget(accelerationEdit, 3, 1);
    fields->addWidget(accelerationUnit, 3, 2);
    fields->setColumnStretch(3, 1);

    weightCheckBox_ = new QCheckBox(
        QStringLiteral("Distribution of moment due to weight between arch and cantilver"), this);
    weightCheckBox_->setObjectName(QStringLiteral("WeightDistributionCheckBox"));
    // The caption stands on the left of the box.
    weightCheckBox_->setLayoutDirection(Qt::RightToLeft);

    auto* thermalCaption = namedLabel("ThermalLabel", QStringLiteral("thermal load"), this);
    thUniCheckBox_ = new QCheckBox(QStringLiteral("Uniform"), this);
    thUniCheckBox_->setObjectName(QStringLiteral("thUniCheckBox"));
    thLinCheckBox_ = new QCheckBox(QStringLiteral("linear"), this);
    thLinCheckBox_->setObjectName(QStringLiteral("thlinCheckBox"));
    thUniGrid_ = new EditorGrid(s_.loads.ThuniStringGrid, true, this);
    thUniGrid_->setObjectName(QStringLiteral("ThuniStringGrid"));
    thLinGrid_ = new EditorGrid(s_.loads.ThlinStringGrid, true, this);
    thLinGrid_->setObjectName(QStringLiteral("ThlinStringGrid"));
    for (EditorGrid* grid : {thUniGrid_, thLinGrid_})
        grid->setMinimumSize(220, 12 * grid->verticalHeader()->defaultSectionSize());
    auto* thermal = new QGridLayout;
    thermal->addWidget(thermalCaption, 0, 0, 1, 4);
    thermal->addWidget(thUniCheckBox_, 1, 0, Qt::AlignTop);
    thermal->addWidget(thUniGrid_, 1, 1);
    thermal->addWidget(thLinCheckBox_, 1, 2, Qt::AlignTop);
    thermal->addWidget(thLinGrid_, 1, 3);
    thermal->setColumnStretch(1, 1);
    thermal->setColumnStretch(3, 1);

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
    main->addLayout(fields);
    main->addWidget(weightCheckBox_, 0, Qt::AlignAbsolute | Qt::AlignLeft);
    main->addSpacing(6);
    main->addLayout(thermal, 1);
    main->addLayout(buttons);
    resize(620, 560);

    connect(groutComboBox_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!refreshing_) s_.loads.groutSelected = index;
    });
    connect(rweEdit_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!refreshing_) s_.loads.RweEdit = text.toStdString();
    });
    connect(tweEdit_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!refreshing_) s_.loads.TweEdit = text.toStdString();
    });
    const auto bindCheck = [this](QCheckBox* box, bool LoadsEditorState::*field) {
        connect(box, &QCheckBox::toggled, this, [this, field](bool on) {
            if (refreshing_) return;
            s_.loads.*field = on;
            refresh();
        });
    };
    bindCheck(weightCheckBox_, &LoadsEditorState::WeightDistributionCheckBox);
    bindCheck(thUniCheckBox_, &LoadsEditorState::thUniCheckBox);
    bindCheck(thLinCheckBox_, &LoadsEditorState::thlinCheckBox);
    connect(ok, &QPushButton::clicked, this, &TChargementFiche::OKButtonClick);
    connect(annuler, &QPushButton::clicked, this, &TChargementFiche::reject);

    refresh();
}

void TChargementFiche::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        runCommand(s_, [this] { LoadsFormActivate(s_.model, s_.loads); });
        refresh();
    }
    QDialog::showEvent(event);
}

void TChargementFiche::commitPendingEdits()
{
    thUniGrid_->commitPendingEdit();
    thLinGrid_->commitPendingEdit();
}

void TChargementFiche::OKButtonClick()
{
    commitPendingEdits();
    // A table cell that is not a number stops the commit's unit conversion
    // with an error; the editor then stays open so that the cell can be put
    // right.
    bool validated = false;
    const bool finished = runCommand(s_, [&] { validated = LoadsOKButtonClick(s_); });
    refresh();
    if (!finished) return;
    if (redraw2D_) redraw2D_();
    if (validated) QDialog::accept();
}

void TChargementFiche::reject()
{
    commitPendingEdits();
    runCommand(s_, [this] { LoadsAnnulerButtonClick(s_); });
    QDialog::reject();
}

void TChargementFiche::refresh()
{
    refreshing_ = true;
    const LoadsEditorState& l = s_.loads;
    QStringList items;
    for (const std::string& item : l.GroutComboBox) items << QString::fromStdString(item);
    QStringList shown;
    for (int i = 0; i < groutComboBox_->count(); ++i) shown << groutComboBox_->itemText(i);
    if (shown != items) {
        groutComboBox_->clear();
        groutComboBox_->addItems(items);
    }
    groutComboBox_->setCurrentIndex(l.groutSelected < static_cast<int>(items.size()) ? l.groutSelected : -1);
    showText(rweEdit_, l.RweEdit);
    showText(tweEdit_, l.TweEdit);
    const QString unit = QString::fromStdString(l.unitLabel);
    for (QLabel* label : {groutUnitLabel_, rweUnitLabel_, tweUnitLabel_}) label->setText(unit);
    weightCheckBox_->setChecked(l.WeightDistributionCheckBox);
    thUniCheckBox_->setChecked(l.thUniCheckBox);
    thLinCheckBox_->setChecked(l.thlinCheckBox);
    // Each temperature table is in use only while its box is ticked.
    thUniGrid_->setEnabled(l.thUniCheckBox);
    thLinGrid_->setEnabled(l.thlinCheckBox);
    thUniGrid_->refresh();
    thLinGrid_->refresh();
    refreshing_ = false;
}

} // namespace velta
