#pragma once
// The calibration assistant, opened from the measure screen.

#include <QWidget>

class QPushButton;

namespace zt {

class App;

class Calibrate : public QWidget {
    Q_OBJECT
public:
    explicit Calibrate(App& app);

    QPushButton* CalibrationLineUnitsSelect; // "Actual" / "Screen"
    QPushButton* CalibrateLineDrawCommand;   // "Draw"
    QPushButton* CalibrationLineErase;       // "Erase"

private:
    App& app_;
};

} // namespace zt
