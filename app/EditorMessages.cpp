#include "app/EditorMessages.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace velta {

QWidget* dialogOwner(QWidget* fallback)
{
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (QWidget* active = QApplication::activeWindow()) return active;
    return fallback;
}

void MessageBoxSink::show(MessageKind kind, const std::string& text)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title = QStringLiteral("VELTA");
    switch (kind) {
    case MessageKind::Error:
        icon = QMessageBox::Critical;
        title = QStringLiteral("Error");
        break;
    case MessageKind::Warning:
        icon = QMessageBox::Warning;
        title = QStringLiteral("Warning");
        break;
    case MessageKind::Information:
        icon = QMessageBox::Information;
        title = QStringLiteral("Information");
        break;
    case MessageKind::Plain:
        break;
    }
    QMessageBox box(icon, title, QString::fromStdString(text), QMessageBox::Ok, dialogOwner(parent_));
    box.exec();
}

std::optional<std::string> InputBoxPrompter::askText(const std::string& title, const std::string& prompt,
                                                     const std::string& defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(dialogOwner(parent_), QString::fromStdString(title),
                                               QString::fromStdString(prompt), QLineEdit::Normal,
                                               QString::fromStdString(defaultText), &ok);
    if (!ok) return std::nullopt;
    return text.toStdString();
}

bool InputBoxPrompter::confirm(const std::string& title, const std::string& text)
{
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, dialogOwner(parent_));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace velta
