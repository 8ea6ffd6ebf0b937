#include "app/Splash.h"

#include <QCoreApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "app/Jpeg.h"

namespace velta {

TMotdePasseFiche::TMotdePasseFiche(QWidget* parent, const QString& picturePath)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog), timer_(new QTimer(this))
{
    setObjectName(QStringLiteral("MotdePasseFiche"));
    setFixedSize(kWidth, kHeight);
    setModal(true);
    setStyleSheet(QStringLiteral("TMotdePasseFiche { background: white; }"));

    const QString path =
        picturePath.isEmpty() ? QCoreApplication::applicationDirPath() + "/VELTA_splash.jpg" : picturePath;
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    const QImage image = decodeJpeg(path.toStdString());
    if (!image.isNull()) picture->setPixmap(QPixmap::fromImage(image));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* notice = new QLabel(QString::fromUtf8(kNoticeText), this);
    notice->setObjectName(QStringLiteral("Label1"));
    notice->setAlignment(Qt::AlignCenter);
    QFont f = notice->font();
    f.setBold(true);
    notice->setFont(f);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->setSpacing(4);
    layout->addWidget(picture, 1);
    layout->addWidget(notice);

    timer_->setSingleShot(true);
    timer_->setInterval(kDelayMs);
    connect(timer_, &QTimer::timeout, this, [this] {
        timer_->stop();
        accept();
    });
}

void TMotdePasseFiche::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (QScreen* s = screen()) move(s->geometry().center() - rect().center());
    timer_->start();
}

}  // namespace velta
