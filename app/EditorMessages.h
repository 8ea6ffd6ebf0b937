#pragma once
// The window's message boxes and input boxes behind the core's MessageSink
// and Prompter.
#include <QPointer>
#include <QWidget>

#include "model/Messages.h"

namespace velta {

// Each message is a modal message box with an OK button: the error icon for
// errors, the warning icon for warnings.
class MessageBoxSink : public MessageSink {
public:
    // parent: the window the boxes belong to; the active modal window, when
    // there is one, is used instead so that a box opened from an editor
    // stays above it.
    explicit MessageBoxSink(QWidget* parent = nullptr) : parent_(parent) {}
    void show(MessageKind kind, const std::string& text) override;

private:
    QPointer<QWidget> parent_;
};

// An input box with a title, a prompt and a default text; cancel gives an
// empty optional. Warnings to confirm are message boxes.
class InputBoxPrompter : public Prompter {
public:
    explicit InputBoxPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    std::optional<std::string> askText(const std::string& title, const std::string& prompt,
                                       const std::string& defaultText) override;
    // A warning message box with "Yes" (keep the values) and "No".
    bool confirm(const std::string& title, const std::string& text) override;

private:
    QPointer<QWidget> parent_;
};

// The window a box opened now should belong to.
QWidget* dialogOwner(QWidget* fallback);

} // namespace velta
