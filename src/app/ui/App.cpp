#include "app/ui/App.h"

#include "app/ui/MainForm.h"

namespace zt {

App::App(Services services)
    : services_(std::move(services)),
      diagnosticLog_(services_.paths.inExchange(QStringLiteral("DebugLog.txt")), *services_.clock,
                     *services_.dialogs) {}

App::~App() = default;

MainForm& App::mainForm() {
    if (!mainForm_)
        mainForm_ = std::make_unique<MainForm>(*this);
    return *mainForm_;
}

} // namespace zt
