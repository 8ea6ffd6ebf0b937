#pragma once
// How the core talks to the user: one message sink (message boxes in the
// window, stderr in the batch tool, a list in the tests) and one prompter
// for the input boxes.
#include <optional>
#include <string>
#include <vector>

namespace velta {

enum class MessageKind { Error, Warning, Information, Plain };

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void show(MessageKind kind, const std::string& text) = 0;
    void error(const std::string& text) { show(MessageKind::Error, text); }
    void warning(const std::string& text) { show(MessageKind::Warning, text); }
};

// Records every message; used by the tests.
class ListSink : public MessageSink {
public:
    struct Entry {
        MessageKind kind;
        std::string text;
    };
    std::vector<Entry> entries;
    void show(MessageKind kind, const std::string& text) override { entries.push_back({kind, text}); }
    std::vector<std::string> texts() const
    {
        std::vector<std::string> out;
        for (const auto& e : entries) out.push_back(e.text);
        return out;
    }
    void clear() { entries.clear(); }
};

// Asks the user for a line of text (an input box with title, prompt and a
// default). An empty optional means the user cancelled.
class Prompter {
public:
    virtual ~Prompter() = default;
    virtual std::optional<std::string> askText(const std::string& title, const std::string& prompt,
                                               const std::string& defaultText) = 0;
    // A warning that the user may accept: true to go on with the values as
    // they are, false to go back and change them. Without a user to ask,
    // the values are kept.
    virtual bool confirm(const std::string& title, const std::string& text)
    {
        (void)title;
        (void)text;
        return true;
    }
};

// Answers every question with the same reply; nullopt acts as "cancel".
class FixedPrompter : public Prompter {
public:
    explicit FixedPrompter(std::optional<std::string> reply = std::nullopt) : reply_(std::move(reply)) {}
    std::optional<std::string> askText(const std::string& title, const std::string& prompt,
                                       const std::string&) override
    {
        asked.push_back(title + "|" + prompt);
        return reply_;
    }
    bool confirm(const std::string& title, const std::string& text) override
    {
        confirmations.push_back(title + "|" + text);
        return confirmReply;
    }
    std::vector<std::string> asked;
    std::vector<std::string> confirmations;  // every warning asked, title and text
    bool confirmReply = true;                // the answer to every warning

private:
    std::optional<std::string> reply_;
};

}  // namespace velta
