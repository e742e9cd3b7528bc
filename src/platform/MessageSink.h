#pragma once

#include <string>
#include <vector>

namespace tamber {

enum class MessageKind { Information, Warning, Error };

// Where modal messages go: the player shows a message box; tests and headless runs capture them.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void ShowMessage(MessageKind kind, const std::string& caption, const std::string& text) = 0;
};

// Discards every message.
class NullMessageSink final : public MessageSink {
public:
    void ShowMessage(MessageKind, const std::string&, const std::string&) override { }
};

// Keeps every message, in order, for tests and the headless player's log.
class CapturingMessageSink final : public MessageSink {
public:
    struct Message {
        MessageKind kind;
        std::string caption;
        std::string text;
    };
    void ShowMessage(MessageKind kind, const std::string& caption, const std::string& text) override
    {
        messages.push_back(Message { kind, caption, text });
    }
    std::vector<Message> messages;
};

}  // namespace tamber
