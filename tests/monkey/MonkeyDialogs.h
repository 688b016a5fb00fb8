#pragma once
// The operator's answers chosen at random: any button a box offers, typed
// text of every kind for an input box, and for a file dialog a file from a
// prepared folder that holds good, missing and odd files (empty, cut,
// garbled, a folder, a pipe, a link, names with spaces and accents).

#include "app/Dialogs.h"

#include <QStringList>
#include <functional>
#include <random>

namespace zt::monkey {

// Texts an operator might type: numbers, nothing, long, non-ASCII, paths.
const QStringList& typedTexts();

// Fills folder with the files a file dialog may be answered with; returns
// them (missing ones among them).
QStringList prepareFiles(const QString& folder);

class MonkeyDialogs : public Dialogs {
public:
    using Note = std::function<void(const QString&)>;
    MonkeyDialogs(std::mt19937& rng, QStringList files, Note note)
        : rng_(rng), files_(std::move(files)), note_(std::move(note)) {}

    MsgAnswer message(const MessageRequest& request) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    std::optional<QString> openFile(const FileDialogRequest& request) override;
    std::optional<QString> saveFile(const FileDialogRequest& request) override;
    std::optional<QList<int>> chooseFromLists(const ChoiceForm& form) override;

    // The next file dialog is answered with path.
    void answerNextFile(const QString& path) { nextFile_ = path; }

private:
    int pick(int n) { return n < 1 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    std::optional<QString> fileAnswer(const FileDialogRequest& request, const char* kind);

    std::mt19937& rng_;
    QStringList files_;
    Note note_;
    std::optional<QString> nextFile_;
};

} // namespace zt::monkey
