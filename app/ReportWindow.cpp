#include "app/ReportWindow.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace velta {

TReportFiche::TReportFiche(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ReportFiche"));
    setModal(false);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("ReportText"));
    text_->setReadOnly(true);
    // The report is laid out in columns.
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text_);
    resize(900, 650);
}

bool TReportFiche::showFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    // The engine writes plain single-byte text.
    text_->setPlainText(QString::fromLatin1(f.readAll()));
    setWindowTitle(QFileInfo(path).fileName() + QStringLiteral(" (imp. unit)"));
    show();
    raise();
    activateWindow();
    return true;
}

QString TReportFiche::text() const
{
    return text_->toPlainText();
}

}  // namespace velta
