#include "measure/ui/Calibrate.h"

#include "app/ui/Widgets.h"

#include <QHBoxLayout>

namespace zt {

Calibrate::Calibrate(App& app) : app_(app) {
    setObjectName(QStringLiteral("Calibrate"));
    setWindowTitle(QStringLiteral("Calibration Assistant"));
    auto* layout = new QHBoxLayout(this);
    CalibrationLineUnitsSelect =
        ui::button(this, "CalibrationLineUnitsSelect", QStringLiteral("Actual"));
    CalibrateLineDrawCommand = ui::button(this, "CalibrateLineDrawCommand", QStringLiteral("Draw"));
    CalibrationLineErase = ui::button(this, "CalibrationLineErase", QStringLiteral("Erase"));
    layout->addWidget(CalibrationLineUnitsSelect);
    layout->addWidget(CalibrateLineDrawCommand);
    layout->addWidget(CalibrationLineErase);
}

} // namespace zt
