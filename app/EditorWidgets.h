#pragma once
// Small helpers shared by the editor dialogs.
#include <QColor>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <exception>
#include <string>

#include "app/shell/Session.h"

namespace velta {

// Text colour of a table whose cells are not in use (the colour of an
// inactive window caption).
inline QColor inactiveTableTextColour()
{
    return QColor(128, 128, 128);
}

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

// Runs a command of the core. An error that escapes it (a conversion error
// of a table cell, for instance) is shown with its own text, and the event
// loop carries on. Returns false when the command ended that way.
template <class F> bool runCommand(Session& s, F&& command)
{
    try {
        command();
        return true;
    } catch (const std::exception& e) {
        s.messages.error(e.what());
        return false;
    }
}

} // namespace velta
