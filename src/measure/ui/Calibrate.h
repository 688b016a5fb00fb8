#pragma once
// The calibration assistant, opened from the measure and grid setup
// screens: a line given by two end points in water coordinates ("Actual")
// or screen twips ("Screen"), converted through the active grid and drawn
// over the picture on both screens.

#include "measure/CalibrationLine.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zt {

class AppContext;

class Calibrate : public QWidget {
    Q_OBJECT
public:
    explicit Calibrate(AppContext& app);

    QLineEdit *CalibrationLineXActual, *CalibrationLineYActual, *CalibrationLineXActual2,
        *CalibrationLineYActual2;
    QLineEdit *CalibrationLineXTwips, *CalibrationLineYTwips, *CalibrationLineXTwips2,
        *CalibrationLineYTwips2;
    QLabel *CalibrationLineActualLabel, *CalibrationLineScreenLabel;
    QPushButton* CalibrationLineUnitsSelect; // "Actual" / "Screen"
    QPushButton* CalibrateLineDrawCommand;   // "Draw"
    QPushButton* CalibrationLineErase;       // "Erase"
    QPushButton* formexit;                   // "E&xit"

    // The boxes read the water end points ("Actual") or the screen ones.
    bool actualInput() const { return actualInput_; }
    const CalibrationSegment& lastLine() const { return lastLine_; }

public slots:
    void CalibrationLineUnitsSelect_Click();
    void CalibrateLineDrawCommand_Click();
    void CalibrationLineErase_Click();
    void formexit_Click();

private:
    CalibrationBoxes boxes() const;
    void showBoxes(const CalibrationBoxes& b);
    // On the measure screen, then on the grid setup screen.
    void drawOnScreens(const CalibrationSegment& line, bool erase);

    AppContext& app_;
    bool actualInput_ = true;
    CalibrationSegment lastLine_; // the line drawn last, (0, 0)-(0, 0) at start
};

} // namespace zt
