#include "DemoGrid.h"

#include "app/TextFormat.h"
#include "grid/ui/Grid_Setup.h"
#include "measure/ui/PictureCanvas.h"
#include "support/TestEnv.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cmath>

namespace zt {

KeyValues readKeyValues(const QString& path) {
    KeyValues values;
    for (const QString& line : QString::fromUtf8(test::readAll(path)).split(QLatin1Char('\n'))) {
        const qsizetype colon = line.indexOf(QStringLiteral(": "));
        if (colon < 0)
            continue;
        QList<double>& v = values[line.left(colon)];
        for (const QString& word : line.mid(colon + 2).split(QLatin1Char(' ')))
            v.push_back(readNumber(word));
    }
    return values;
}

bool DemoGrid::read(const QString& folder) {
    survey = readKeyValues(folder + QStringLiteral("/demo-survey.txt"));
    truth = readKeyValues(folder + QStringLiteral("/demo-truth.txt"));
    return survey.size() == 6 && !truth.isEmpty();
}

void DemoGrid::enter(Grid_Setup& gs) const {
    auto type = [&](QLineEdit* box, const char* key, int index) {
        box->selectAll();
        QTest::keyClicks(box, numberText(survey.value(QLatin1String(key)).value(index)));
    };
    auto both = [&](QLineEdit* x, QLineEdit* y, const char* key) {
        type(x, key, 0);
        type(y, key, 1);
    };
    auto click = [&](QRadioButton* option, const char* key) {
        const QList<double> v = truth.value(QLatin1String(key));
        if (v.size() != 2)
            return;
        option->click();
        gs.canvas().setZoomAbout(Zoom::Actual, {0, 0});
        const QPoint pixel(static_cast<int>(std::lround(v[0] / 15)),
                           static_cast<int>(std::lround(v[1] / 15)));
        QTest::mouseClick(gs.canvas().surface(), Qt::LeftButton, {}, pixel);
    };
    both(gs.ul_survey_x, gs.ul_survey_y, "upper left");
    both(gs.ur_survey_x, gs.ur_survey_y, "upper right");
    both(gs.ll_survey_x, gs.ll_survey_y, "lower left");
    both(gs.lr_survey_x, gs.lr_survey_y, "lower right");
    both(gs.txtCheckX, gs.txtCheckY, "check buoy");
    both(gs.jump_x, gs.jump_y, "jump");
    click(gs.upper_left_button, "upper left");
    click(gs.upper_right_button, "upper right");
    click(gs.lower_left_button, "lower left");
    click(gs.lower_right_button, "lower right");
    click(gs.optCheckBuoy, "check buoy");
    gs.Load->click();
}

} // namespace zt
