#include "measure/ui/Calibrate.h"

#include "app/Dialogs.h"
#include "app/ui/AppContext.h"
#include "app/ui/Widgets.h"
#include "grid/GridSetupView.h"
#include "measure/MeasureView.h"

#include <QGridLayout>

namespace zt {

Calibrate::Calibrate(AppContext& app) : app_(app) {
    setObjectName(QStringLiteral("Calibrate"));
    setWindowTitle(QStringLiteral("Calibration Assistant"));
    setWindowFlag(Qt::Tool);
    auto* g = new QGridLayout(this);
    CalibrationLineActualLabel =
        ui::label(this, "CalibrationLineActualLabel", QStringLiteral("Actual"));
    CalibrationLineScreenLabel =
        ui::label(this, "CalibrationLineScreenLabel", QStringLiteral("Screen"));
    g->addWidget(CalibrationLineActualLabel, 0, 2, 1, 2, Qt::AlignCenter);
    g->addWidget(CalibrationLineScreenLabel, 0, 4, 1, 2, Qt::AlignCenter);
    for (int col = 0; col < 2; ++col) {
        g->addWidget(new QLabel(QStringLiteral("X"), this), 1, 2 + col * 2, Qt::AlignCenter);
        g->addWidget(new QLabel(QStringLiteral("Y"), this), 1, 3 + col * 2, Qt::AlignCenter);
    }
    g->addWidget(new QLabel(QStringLiteral("from"), this), 2, 1);
    g->addWidget(new QLabel(QStringLiteral("to"), this), 3, 1);
    QLineEdit** boxes[2][4] = {{&CalibrationLineXActual, &CalibrationLineYActual,
                                &CalibrationLineXTwips, &CalibrationLineYTwips},
                               {&CalibrationLineXActual2, &CalibrationLineYActual2,
                                &CalibrationLineXTwips2, &CalibrationLineYTwips2}};
    const char* names[2][4] = {{"CalibrationLineXActual", "CalibrationLineYActual",
                                "CalibrationLineXTwips", "CalibrationLineYTwips"},
                               {"CalibrationLineXActual2", "CalibrationLineYActual2",
                                "CalibrationLineXTwips2", "CalibrationLineYTwips2"}};
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 4; ++col) {
            *boxes[row][col] = ui::edit(this, names[row][col]);
            (*boxes[row][col])->setMinimumWidth(80);
            g->addWidget(*boxes[row][col], 2 + row, 2 + col);
        }
    CalibrationLineUnitsSelect =
        ui::button(this, "CalibrationLineUnitsSelect", QStringLiteral("Actual"));
    CalibrateLineDrawCommand = ui::button(this, "CalibrateLineDrawCommand", QStringLiteral("Draw"));
    CalibrationLineErase = ui::button(this, "CalibrationLineErase", QStringLiteral("Erase"));
    formexit = ui::button(this, "formexit", QStringLiteral("E&xit"));
    g->addWidget(CalibrationLineUnitsSelect, 4, 2, 1, 2);
    g->addWidget(CalibrateLineDrawCommand, 4, 4);
    g->addWidget(CalibrationLineErase, 4, 5);
    g->addWidget(formexit, 5, 5);
    connect(CalibrationLineUnitsSelect, &QPushButton::clicked, this,
            &Calibrate::CalibrationLineUnitsSelect_Click);
    connect(CalibrateLineDrawCommand, &QPushButton::clicked, this,
            &Calibrate::CalibrateLineDrawCommand_Click);
    connect(CalibrationLineErase, &QPushButton::clicked, this,
            &Calibrate::CalibrationLineErase_Click);
    connect(formexit, &QPushButton::clicked, this, &Calibrate::formexit_Click);
}

CalibrationBoxes Calibrate::boxes() const {
    return {CalibrationLineXActual->text(),  CalibrationLineYActual->text(),
            CalibrationLineXActual2->text(), CalibrationLineYActual2->text(),
            CalibrationLineXTwips->text(),   CalibrationLineYTwips->text(),
            CalibrationLineXTwips2->text(),  CalibrationLineYTwips2->text()};
}

void Calibrate::showBoxes(const CalibrationBoxes& b) {
    CalibrationLineXActual->setText(b.actualX1);
    CalibrationLineYActual->setText(b.actualY1);
    CalibrationLineXActual2->setText(b.actualX2);
    CalibrationLineYActual2->setText(b.actualY2);
    CalibrationLineXTwips->setText(b.twipsX1);
    CalibrationLineYTwips->setText(b.twipsY1);
    CalibrationLineXTwips2->setText(b.twipsX2);
    CalibrationLineYTwips2->setText(b.twipsY2);
}

void Calibrate::CalibrationLineUnitsSelect_Click() {
    actualInput_ = !actualInput_;
    CalibrationLineUnitsSelect->setText(actualInput_ ? QStringLiteral("Actual")
                                                     : QStringLiteral("Screen"));
}

void Calibrate::drawOnScreens(const CalibrationSegment& line, bool erase) {
    app_.measureView().drawCalibrationLine(line, erase);
    app_.gridSetupView().drawCalibrationLine(line, erase);
}

void Calibrate::CalibrateLineDrawCommand_Click() {
    const auto converted = convertCalibrationLine(app_.state, boxes(), actualInput_);
    if (!converted) {
        app_.dialogs().warn(QStringLiteral("The line cannot be drawn: the active grid cannot "
                                           "convert one of its end points. Check that a grid "
                                           "is set up and that the points lie in front of the "
                                           "camera."));
        return;
    }
    showBoxes(*converted);
    const CalibrationSegment line = calibrationSegment(*converted);
    for (bool erase : {true, false}) {
        app_.measureView().drawCalibrationLine(erase ? lastLine_ : line, erase);
    }
    for (bool erase : {true, false}) {
        app_.gridSetupView().drawCalibrationLine(erase ? lastLine_ : line, erase);
    }
    lastLine_ = line;
}

void Calibrate::CalibrationLineErase_Click() {
    drawOnScreens(lastLine_, true);
}

void Calibrate::formexit_Click() {
    hide();
}

} // namespace zt
