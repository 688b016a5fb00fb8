#include "app/ui/MainForm.h"

#include "app/Dialogs.h"
#include "app/ui/App.h"

namespace zt {

MainForm::MainForm(App& app) : app_(app) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Zentrak 2005"));
    resize(800, 600);
}

} // namespace zt
