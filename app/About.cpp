#include "app/About.h"

#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Jpeg.h"

namespace velta {

TAProposFiche::TAProposFiche(QWidget* parent, const QString& picturePath) : QDialog(parent)
{
    setObjectName(QStringLiteral("AProposFiche"));
    setWindowTitle(QStringLiteral("About this program"));
    setFixedSize(580, 370);
    setModal(true);

    const QString path =
        picturePath.isEmpty() ? QCoreApplication::applicationDirPath() + "/VELTA_about.jpg" : picturePath;
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("ProgramIcon"));
    picture->setFixedSize(220, 300);
    picture->setFrameShape(QFrame::Panel);
    picture->setFrameShadow(QFrame::Sunken);
    const QImage image = decodeJpeg(path.toStdString());
    if (!image.isNull()) picture->setPixmap(QPixmap::fromImage(image).scaled(picture->contentsRect().size()));

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::StyledPanel);
    auto* text = new QVBoxLayout(panel);
    auto addLine = [&](const char* name, const QString& s, bool bold = false) {
        auto* l = new QLabel(s, panel);
        l->setObjectName(QString::fromUtf8(name));
        l->setWordWrap(true);
        if (bold) {
            QFont f = l->font();
            f.setBold(true);
            l->setFont(f);
        }
        text->addWidget(l);
        return l;
    };
    addLine("ProductName", QString::fromUtf8(kTitleText), true);
    addLine("Comments", QString::fromUtf8(kCreditText));
    text->addStretch();
    QLabel* warning = addLine("Warning", QString::fromUtf8(kWarningText), true);
    warning->setStyleSheet(QStringLiteral("color: #a00000;"));
    addLine("Disclaimer", QString::fromUtf8(kDisclaimerText))->setWordWrap(false);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(picture, 0, Qt::AlignTop);
    row->addWidget(panel, 1);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(row, 1);
    outer->addWidget(ok, 0, Qt::AlignHCenter);
}

}  // namespace velta
