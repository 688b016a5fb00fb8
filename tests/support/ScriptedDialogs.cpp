#include "support/ScriptedDialogs.h"

namespace zt::test {

MsgAnswer ScriptedDialogs::message(const MessageRequest& request) {
    Recorded r;
    r.kind = Recorded::Message;
    r.message = request;
    recorded_.append(r);
    if (!queue_.empty() && std::holds_alternative<MsgAnswer>(queue_.front())) {
        const MsgAnswer a = std::get<MsgAnswer>(queue_.front());
        queue_.pop_front();
        return a;
    }
    return answerForButton(request.buttons, request.defaultButton);
}

std::optional<QString> ScriptedDialogs::nextText(const QString& fallback, bool fallbackIsCancel) {
    if (!queue_.empty() && std::holds_alternative<std::optional<QString>>(queue_.front())) {
        auto a = std::get<std::optional<QString>>(queue_.front());
        queue_.pop_front();
        return a;
    }
    if (fallbackIsCancel)
        return std::nullopt;
    return fallback;
}

std::optional<QString> ScriptedDialogs::input(const QString& prompt, const QString& title,
                                              const QString& defaultText) {
    Recorded r;
    r.kind = Recorded::Input;
    r.prompt = prompt;
    r.title = title;
    r.defaultText = defaultText;
    recorded_.append(r);
    return nextText(defaultText, false);
}

std::optional<QString> ScriptedDialogs::openFile(const FileDialogRequest& request) {
    Recorded r;
    r.kind = Recorded::OpenFile;
    r.file = request;
    r.title = request.title;
    recorded_.append(r);
    return nextText(QString(), true);
}

std::optional<QString> ScriptedDialogs::saveFile(const FileDialogRequest& request) {
    Recorded r;
    r.kind = Recorded::SaveFile;
    r.file = request;
    r.title = request.title;
    recorded_.append(r);
    return nextText(QString(), true);
}

std::optional<QList<int>> ScriptedDialogs::chooseFromLists(const ChoiceForm& form) {
    Recorded r;
    r.kind = Recorded::Choice;
    r.title = form.title;
    r.form = form;
    recorded_.append(r);
    using Choice = std::optional<QList<int>>;
    if (!queue_.empty() && std::holds_alternative<Choice>(queue_.front())) {
        const Choice a = std::get<Choice>(queue_.front());
        queue_.pop_front();
        return a;
    }
    QList<int> shown;
    for (const ChoiceField& f : form.fields)
        shown << f.current;
    return shown;
}

QStringList ScriptedDialogs::prompts() const {
    QStringList out;
    for (const Recorded& r : recorded_)
        out << (r.kind == Recorded::Message ? r.message.prompt : r.prompt);
    return out;
}

QList<MessageRequest> ScriptedDialogs::messages() const {
    QList<MessageRequest> out;
    for (const Recorded& r : recorded_)
        if (r.kind == Recorded::Message)
            out << r.message;
    return out;
}

} // namespace zt::test
