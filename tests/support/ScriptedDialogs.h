#pragma once
// Dialogs for tests: answers come from a queue; every prompt is recorded.
// With the queue empty a message box answers with its default button and an
// input box with its default text, so no test ever waits for a person.

#include "app/Dialogs.h"

#include <QList>
#include <deque>
#include <variant>

namespace zt::test {

struct Recorded {
    enum Kind { Message, Input, OpenFile, SaveFile, Choice } kind = Message;
    MessageRequest message; // Message
    QString prompt;         // Input
    QString title;          // Input, file dialogs
    QString defaultText;    // Input
    FileDialogRequest file; // file dialogs
    ChoiceForm form;        // Choice
};

class ScriptedDialogs : public Dialogs {
public:
    using Answer = std::variant<MsgAnswer, std::optional<QString>, std::optional<QList<int>>>;

    // Queue answers in the order the dialogs will come.
    void answer(MsgAnswer a) { queue_.push_back(a); }
    void answerText(const QString& text) { queue_.push_back(std::optional<QString>(text)); }
    void answerCancel() { queue_.push_back(std::optional<QString>()); }
    // The entries chosen in a form of lists; nullopt cancels it.
    void answerChoices(std::optional<QList<int>> chosen) { queue_.push_back(chosen); }

    MsgAnswer message(const MessageRequest& request) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    std::optional<QString> openFile(const FileDialogRequest& request) override;
    std::optional<QString> saveFile(const FileDialogRequest& request) override;
    // Unanswered, a form is confirmed as shown.
    std::optional<QList<int>> chooseFromLists(const ChoiceForm& form) override;

    const QList<Recorded>& recorded() const { return recorded_; }
    // Prompts of all recorded dialogs, in order.
    QStringList prompts() const;
    // The recorded message boxes only.
    QList<MessageRequest> messages() const;
    bool queueEmpty() const { return queue_.empty(); }
    void clear() { recorded_.clear(); }

private:
    std::optional<QString> nextText(const QString& fallback, bool fallbackIsCancel);

    std::deque<Answer> queue_;
    QList<Recorded> recorded_;
};

} // namespace zt::test
