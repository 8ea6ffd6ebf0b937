#pragma once
// Small helpers shared by the editor dialogs.
#include <QColor>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <string>

namespace velta {

// Text colour of a table whose cells are not in use (the colour of an
// inactive window caption).
inline QColor inactiveTableTextColour() { return QColor(128, 128, 128); }

inline QLabel* namedLabel(const char* name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

inline QLineEdit* namedEdit(const char* name, QWidget* parent, int width = 90)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setFixedWidth(width);
    return edit;
}

// Shows a state text in a field without raising its change signal, and
// without touching the field (and its cursor) when the text is the same.
inline void showText(QLineEdit* edit, const std::string& text)
{
    const QString q = QString::fromStdString(text);
    if (edit->text() == q) return;
    QSignalBlocker block(edit);
    edit->setText(q);
}

}  // namespace velta
