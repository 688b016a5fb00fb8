// zentrak-tool commands on clips: the file information and frame extraction.

#include "tool/Commands.h"
#include "video/AviFile.h"
#include "video/FrameExtract.h"

namespace zt::tool {

namespace {

// Keeps the messages the video services would show, for standard error.
class CollectingDialogs : public Dialogs {
public:
    MsgAnswer message(const MessageRequest& request) override {
        messages.append(
            QString(request.prompt).replace(QStringLiteral("\r\n"), QStringLiteral(" ")));
        return answerForButton(request.buttons, request.defaultButton);
    }
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> openFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<QString> saveFile(const FileDialogRequest&) override { return std::nullopt; }

    QString text() const { return messages.join(QLatin1Char('\n')) + QLatin1Char('\n'); }

    QStringList messages;
};

Output usageProblem(const QString& what) {
    return {QString(), QStringLiteral("zentrak-tool: ") + what + QStringLiteral("\n") + usage(), 2};
}

} // namespace

Output aviInfo(const QStringList& args) {
    if (args.size() != 1)
        return usageProblem(QStringLiteral("avi-info takes one file"));
    CollectingDialogs dialogs;
    const auto lines = aviInfoLines(dialogs, args.first());
    if (!lines)
        return {QString(), dialogs.text(), 1};
    return {lines->join(QLatin1Char('\n')) + QLatin1Char('\n'), QString(), 0};
}

Output extractFrameCommand(const QStringList& args) {
    if (args.size() != 3)
        return usageProblem(QStringLiteral("extract-frame takes FILE N OUT.bmp"));
    bool ok = false;
    const qlonglong n = args[1].toLongLong(&ok);
    if (!ok || n < 0)
        return usageProblem(QStringLiteral("not a frame number: ") + args[1]);
    CollectingDialogs dialogs;
    if (extractFrameTo(dialogs, args[0], n, args[2]))
        return {};
    if (dialogs.messages.isEmpty())
        dialogs.messages.append(QStringLiteral("No frame ") + args[1] + QStringLiteral(" in ") +
                                args[0]);
    return {QString(), dialogs.text(), 1};
}

} // namespace zt::tool
