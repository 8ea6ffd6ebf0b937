#pragma once
// A read-only text window of the program for the engine's report: it needs
// no viewer registered with the system, and the report cannot be edited by
// mistake.
#include <QDialog>
#include <QString>

class QPlainTextEdit;

namespace velta {

class TReportFiche : public QDialog {
    Q_OBJECT
public:
    explicit TReportFiche(QWidget* parent = nullptr);
    // Loads and shows the text of `path`; false (nothing shown) when the
    // file cannot be read.
    bool showFile(const QString& path);
    QString text() const;

private:
    QPlainTextEdit* text_ = nullptr;
};

}  // namespace velta
