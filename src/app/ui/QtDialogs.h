#pragma once
// Real message boxes, input boxes and file dialogs.

#include "app/Dialogs.h"

class QWidget;

namespace zt {

class QtDialogs : public Dialogs {
public:
    MsgAnswer message(const MessageRequest& request) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    std::optional<QString> openFile(const FileDialogRequest& request) override;
    std::optional<QString> saveFile(const FileDialogRequest& request) override;
    std::optional<QList<int>> chooseFromLists(const ChoiceForm& form) override;
};

// "Label|pattern|" -> Qt's "Label (pattern);;..." and the filter selected.
QString qtFilterOf(const QString& filter);
QString qtSelectedFilterOf(const QString& filter, int filterIndex);

} // namespace zt
