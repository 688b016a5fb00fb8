#pragma once
// Every message, question, input box and file dialog goes through this
// service, so that tests can see and answer them.

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace zt {

// Application title used by message boxes that name no title.
inline const QString& appTitle() {
    static const QString title = QStringLiteral("Zentrak 2005");
    return title;
}

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { OK, OKCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class MsgAnswer { OK, Cancel, Abort, Retry, Ignore, Yes, No };

struct MessageRequest {
    QString prompt;
    QString title; // empty: the application title
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::OK;
    int defaultButton = 1; // counted from 1, as the buttons stand
};

struct FileDialogRequest {
    QString title;
    QString filter;      // "Label|pattern|Label|pattern|"
    int filterIndex = 1; // counted from 1
    QString startDir;
    QString fileName; // proposed name
    // An open-file dialog that also accepts the name of a file that does not
    // exist yet (used where a file is chosen for saving).
    bool allowNewFile = false;
};

// A small dialog of lists, one choice in each (the capture device's
// configuration dialogs).
struct ChoiceField {
    QString label;
    QStringList entries;
    int current = 0;
};
struct ChoiceForm {
    QString title;
    QList<ChoiceField> fields;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual MsgAnswer message(const MessageRequest& request) = 0;
    // nullopt when the operator cancels.
    virtual std::optional<QString> input(const QString& prompt, const QString& title,
                                         const QString& defaultText = QString()) = 0;
    virtual std::optional<QString> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> saveFile(const FileDialogRequest& request) = 0;
    // The entry chosen in each field, in order; nullopt on cancel.
    virtual std::optional<QList<int>> chooseFromLists(const ChoiceForm& form) {
        Q_UNUSED(form);
        return std::nullopt;
    }

    // Short forms.
    void inform(const QString& prompt, const QString& title = QString(),
                MsgIcon icon = MsgIcon::None) {
        message({prompt, title, icon, MsgButtons::OK, 1});
    }
    void warn(const QString& prompt, const QString& title = QString()) {
        message({prompt, title, MsgIcon::Exclamation, MsgButtons::OK, 1});
    }
    void error(const QString& prompt, const QString& title = QString()) {
        message({prompt, title, MsgIcon::Critical, MsgButtons::OK, 1});
    }
    // Yes/No question; defaultNo makes No the default button.
    bool askYesNo(const QString& prompt, const QString& title, MsgIcon icon = MsgIcon::Question,
                  bool defaultNo = false) {
        return message({prompt, title, icon, MsgButtons::YesNo, defaultNo ? 2 : 1}) ==
               MsgAnswer::Yes;
    }
};

// Answers every box with OK and every question for a text or a file with
// nothing: for work without an operator (benchmarks, fuzzing).
class SilentDialogs : public Dialogs {
public:
    MsgAnswer message(const MessageRequest&) override { return MsgAnswer::OK; }
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> openFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<QString> saveFile(const FileDialogRequest&) override { return std::nullopt; }
};

// Buttons of a box in their order; the answer a default button gives.
MsgAnswer answerForButton(MsgButtons buttons, int index);

// "Label|pattern|..." -> list of (label, pattern).
struct FilterEntry {
    QString label;
    QString pattern;
};
QList<FilterEntry> parseFilter(const QString& filter);

} // namespace zt
