#include "app/MaterialDialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "app/EditorGrid.h"
#include "app/EditorWidgets.h"
#include "forms/MaterialForm.h"

namespace velta {

TMateriauFiche::TMateriauFiche(Session& session, std::function<void()> redraw2D, QWidget* parent)
    : QDialog(parent), s_(session), redraw2D_(std::move(redraw2D))
{
    setObjectName(QStringLiteral("MateriauFiche"));
    setWindowTitle(QStringLiteral("Material properties"));
    setModal(true);

    auto* concrete = new QGroupBox(QStringLiteral("Concrete properties"), this);
    ecEdit_ = namedEdit("EcEdit", concrete);
    nucEdit_ = namedEdit("NucEdit", concrete);
    wcEdit_ = namedEdit("WcEdit", concrete);
    thecEdit_ = namedEdit("ThecEdit", concrete);
    ecUnitLabel_ = namedLabel("EcUnitLabel", QStringLiteral("E6 psi"), concrete);
    wcUnitLabel_ = namedLabel("WcUnitLabel", QStringLiteral("pounds per cubit foot"), concrete);
    thecUnitLabel_ = namedLabel("ThecUnitLabel", QStringLiteral("E-06 /°F"), concrete);
    auto* concreteLayout = new QGridLayout(concrete);
    concreteLayout->addWidget(new QLabel(QStringLiteral("Modulus of elasticity of concrete"), concrete), 0,
                              0);
    concreteLayout->addWidget(ecEdit_, 0, 1);
    concreteLayout->addWidget(ecUnitLabel_, 0, 2);
    concreteLayout->addWidget(new QLabel(QStringLiteral("Poisson's ratio for concrete"), concrete), 1, 0);
    concreteLayout->addWidget(nucEdit_, 1, 1);
    concreteLayout->addWidget(new QLabel(QStringLiteral("Unit weight of concrete"), concrete), 2, 0);
    concreteLayout->addWidget(wcEdit_, 2, 1);
    concreteLayout->addWidget(wcUnitLabel_, 2, 2);
    concreteLayout->addWidget(new QLabel(QStringLiteral("Coeff of thermal expansion"), concrete), 3, 0);
    concreteLayout->addWidget(thecEdit_, 3, 1);
    concreteLayout->addWidget(thecUnitLabel_, 3, 2);
    concreteLayout->setColumnStretch(2, 1);

    auto* rock = new QGroupBox(QStringLiteral("Rock foundation properties"), this);
    nurEdit_ = namedEdit("NurEdit", rock);
    erEdit_ = namedEdit("EREdit", rock);
    erUnitLabel_ = namedLabel("ErUnitLabel", QStringLiteral("E6 psi"), rock);
    // The uniform modulus field sits beside its choice.
    defGroup_ = new QButtonGroup(rock);
    defGroup_->setObjectName(QStringLiteral("DefRadioGroup"));
    auto* uniform = new QRadioButton(QStringLiteral("uniform deformation modulus of the rock"), rock);
    auto* variable = new QRadioButton(QStringLiteral("variable deformation moduli of the rock"), rock);
    defGroup_->addButton(uniform, 0);
    defGroup_->addButton(variable, 1);
    uniform->setChecked(true);
    defGrid_ = new EditorGrid(s_.mat.DefStringGrid, true, rock);
    defGrid_->setObjectName(QStringLiteral("DefStringGrid"));
    defGrid_->setMinimumHeight(12 * defGrid_->verticalHeader()->defaultSectionSize());
    auto* rockLayout = new QGridLayout(rock);
    rockLayout->addWidget(new QLabel(QStringLiteral("Poisson's ration for rock"), rock), 0, 0);
    rockLayout->addWidget(nurEdit_, 0, 1);
    rockLayout->addWidget(uniform, 1, 0);
    rockLayout->addWidget(erEdit_, 1, 1);
    rockLayout->addWidget(erUnitLabel_, 1, 2);
    rockLayout->addWidget(variable, 2, 0, 1, 3);
    rockLayout->addWidget(defGrid_, 3, 0, 1, 3);
    rockLayout->setColumnStretch(2, 1);

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
    main->addWidget(concrete);
    main->addWidget(rock, 1);
    main->addLayout(buttons);
    resize(520, 620);

    const auto bind = [this](QLineEdit* edit, std::string MaterialEditorState::*field) {
        connect(edit, &QLineEdit::textChanged, this, [this, field](const QString& text) {
            if (!refreshing_) s_.mat.*field = text.toStdString();
        });
    };
    bind(ecEdit_, &MaterialEditorState::EcEdit);
    bind(nucEdit_, &MaterialEditorState::NucEdit);
    bind(wcEdit_, &MaterialEditorState::WcEdit);
    bind(thecEdit_, &MaterialEditorState::ThecEdit);
    bind(erEdit_, &MaterialEditorState::EREdit);
    bind(nurEdit_, &MaterialEditorState::NurEdit);
    connect(defGroup_, &QButtonGroup::idClicked, this, [this](int id) {
        if (refreshing_) return;
        defGrid_->commitPendingEdit();
        runCommand(s_, [this, id] { DefRadioGroupClick(s_.mat, id); });
        refresh();
    });
    connect(ok, &QPushButton::clicked, this, &TMateriauFiche::OKButtonClick);
    connect(annuler, &QPushButton::clicked, this, &TMateriauFiche::reject);

    refresh();
}

void TMateriauFiche::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        runCommand(s_, [this] { MaterialFormActivate(s_.model, s_.mat); });
        refresh();
    }
    QDialog::showEvent(event);
}

void TMateriauFiche::OKButtonClick()
{
    defGrid_->commitPendingEdit();
    // A table cell that is not a number stops the commit's unit conversion
    // with an error; the editor then stays open so that the cell can be put
    // right.
    bool validated = false;
    const bool finished = runCommand(s_, [&] { validated = MaterialOKButtonClick(s_); });
    refresh();
    if (!finished) return;
    if (redraw2D_) redraw2D_();
    if (validated) QDialog::accept();
}

void TMateriauFiche::reject()
{
    defGrid_->commitPendingEdit();
    runCommand(s_, [this] { MaterialAnnulerButtonClick(s_); });
    QDialog::reject();
}

void TMateriauFiche::refresh()
{
    refreshing_ = true;
    const MaterialEditorState& m = s_.mat;
    showText(ecEdit_, m.EcEdit);
    showText(nucEdit_, m.NucEdit);
    showText(wcEdit_, m.WcEdit);
    showText(thecEdit_, m.ThecEdit);
    showText(erEdit_, m.EREdit);
    showText(nurEdit_, m.NurEdit);
    ecUnitLabel_->setText(QString::fromStdString(m.modulusUnit));
    erUnitLabel_->setText(QString::fromStdString(m.modulusUnit));
    wcUnitLabel_->setText(QString::fromStdString(m.weightUnit));
    thecUnitLabel_->setText(QString::fromStdString(m.thermalUnit));
    if (QAbstractButton* b = defGroup_->button(m.DefRadioGroup); b && !b->isChecked()) b->setChecked(true);
    // The uniform field and the moduli table are used one at a time; the
    // table's text is greyed while the uniform modulus applies.
    erEdit_->setEnabled(m.erEnabled);
    defGrid_->setEnabled(!m.erEnabled);
    QPalette pal = defGrid_->palette();
    const QColor text =
        m.erEnabled ? inactiveTableTextColour() : palette().color(QPalette::Active, QPalette::WindowText);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        pal.setColor(group, QPalette::Text, text);
    defGrid_->setPalette(pal);
    defGrid_->refresh();
    refreshing_ = false;
}

} // namespace velta
