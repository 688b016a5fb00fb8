#pragma once
// Dialogs that answer every message with OK and every question with cancel,
// for benchmarks that run flows which may ask.

#include "app/Dialogs.h"

namespace zt::bench {

class SilentDialogs : public zt::Dialogs {
public:
    zt::MsgAnswer message(const zt::MessageRequest&) override { return zt::MsgAnswer::OK; }
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> openFile(const zt::FileDialogRequest&) override { return {}; }
    std::optional<QString> saveFile(const zt::FileDialogRequest&) override { return {}; }
};

} // namespace zt::bench
