#pragma once
// Finds a screen's control by its name, as an operator's description of a
// screen names it.

#include "measure/ui/Measure.h"
#include "shell/App.h"

#include <QWidget>

namespace zt {

// A measure screen control by name; nullptr when there is none.
inline QWidget* measureControl(App& app, const QString& name) {
    return app.measure().findChild<QWidget*>(name);
}

} // namespace zt
