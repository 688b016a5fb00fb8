// The grid setup screen's accuracy check: the mesh labels, the skier path
// lines of the standard mode, the day's accuracy file and the accuracy map.

#include "app/FileUtils.h"
#include "app/TextFormat.h"
#include "app/ui/AppContext.h"
#include "grid/ui/Grid_Setup.h"
#include "measure/ui/PictureCanvas.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <cmath>

namespace zt {

namespace {

size_t u(int i) {
    return static_cast<size_t>(i);
}

QPointF boxPoint(const GridBoxTexts& b, int buoy) {
    return {readNumber(b.screenX[u(buoy)]), readNumber(b.screenY[u(buoy)])};
}

void setTextColor(QLabel* label, const QColor& color) {
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, color);
    label->setPalette(pal);
}

} // namespace

AccuracyDisplay Grid_Setup::accuracyDisplay() const {
    if (optDisplayDistance->isChecked())
        return AccuracyDisplay::Distance;
    if (optDetailMeasurement->isChecked())
        return AccuracyDisplay::Detail;
    return AccuracyDisplay::HomologationLevel;
}

AccuracyHeader Grid_Setup::accuracyHeader() const {
    const AppState& s = app_.state;
    const GridBoxTexts b = boxTexts();
    AccuracyHeader h;
    h.when = app_.clock().now();
    h.fileNameText = fileNameText();
    h.descriptionText = descriptionText();
    h.gridNumber = activeGridNumber(s);
    h.frontRatio = ratios_.front;
    h.backRatio = ratios_.back;
    h.screenXText = b.screenX, h.screenYText = b.screenY;
    h.surveyXText = b.surveyX, h.surveyYText = b.surveyY;
    h.jumpXText = b.jumpX, h.jumpYText = b.jumpY;
    h.checkMarkX = s.checkMarkX, h.checkMarkY = s.checkMarkY;
    h.checkSurveyXText = b.checkX, h.checkSurveyYText = b.checkY;
    return h;
}

bool Grid_Setup::writeAccuracyFile(const AccuracyResult& result) {
    const QString path = joinPath(app_.state.videoDir, accuracyFileName(app_.clock().now().date()));
    if (const FileResult r = appendText(path, accuracyFileText(accuracyHeader(), result)); !r) {
        app_.dialogs().error(QStringLiteral("The accuracy check could not be written to the "
                                            "accuracy file ") +
                             r.error +
                             QStringLiteral(". Check the video folder in the configuration."));
        return false;
    }
    return true;
}

void Grid_Setup::btnAccuracyCheck_Click() {
    AppState& s = app_.state;
    const bool standard = optStandardAccuracy->isChecked();
    if (standard)
        optHomolgationLevel->setChecked(true);
    const GridBoxTexts b = boxTexts();
    const AccuracyMesh mesh =
        accuracyMesh(boxPoint(b, 3), boxPoint(b, 1), boxPoint(b, 4), boxPoint(b, 2));
    const AccuracyResult result = runAccuracyCheck(s, mesh, s.barefootJump, s.sitSkiJump);
    clear_accuracy_indicator();
    if (!writeAccuracyFile(result))
        return; // nothing drawn, the grid as it was
    showAccuracyLabels(result);
    if (!result.complete) {
        app_.dialogs().warn(QStringLiteral("The accuracy check stopped: the grid cannot "
                                           "compute a distance at mesh point %1 of 49. The "
                                           "points before it are in the accuracy file.")
                                .arg(result.points.size() + 1));
        Show_grid();
        return;
    }
    accuracy_ = result;
    if (standard)
        askSkierPathLine(result);
    Show_grid();
    chkAccuracyMap->show();
    updateAccuracyMap();
}

void Grid_Setup::showAccuracyLabels(const AccuracyResult& result) {
    const AccuracyDisplay display = accuracyDisplay();
    const QColor color = colorOfBgr(app_.state.gridColor);
    const bool advanced = optAdvancedAccuracy->isChecked();
    for (const AccuracyPoint& p : result.points) {
        QLabel* label = AccuracyIndicator[u(p.a * meshSize + p.d)];
        label->setText(accuracyLabelText(p, display));
        label->adjustSize();
        canvas_->pinToPicture(label, p.at.x(), p.at.y() + 75);
        setTextColor(label, color);
        label->setVisible(advanced);
    }
}

void Grid_Setup::askSkierPathLine(const AccuracyResult& result) {
    const QColor color = colorOfBgr(app_.state.gridColor);
    canvas_->clearDrawing();
    for (int d = 0; d < meshSize; ++d) {
        const QPointF from = result.mesh.at[0][u(d)], to = result.mesh.at[u(meshSize - 1)][u(d)];
        canvas_->drawLine(from.x(), from.y(), to.x(), to.y(), color);
        QLabel* label = LineLabel[u(d)];
        label->adjustSize();
        canvas_->pinToPicture(label, to.x() + 60, to.y() - 90);
        setTextColor(label, color);
        label->show();
    }
    int line = 0;
    while (line < 1 || line > meshSize) {
        const auto answer = app_.dialogs().input(
            QStringLiteral("Pick the line number that best represents where the skier will land"),
            QStringLiteral("Input the skier path line"));
        if (!answer)
            break; // the question can always be left
        const double n = readNumber(*answer);
        line = n == std::floor(n) ? static_cast<int>(n) : 0;
    }
    canvas_->clearDrawing();
    for (QLabel* label : LineLabel)
        label->hide();
    if (line < 1 || line > meshSize)
        return;
    for (int a = 0; a < meshSize; ++a)
        AccuracyIndicator[u((line - 1) + meshSize * a)]->show();
}

void Grid_Setup::clear_accuracy_indicator() {
    for (QLabel* label : AccuracyIndicator)
        label->hide();
    accuracy_.reset();
    updateAccuracyMap();
}

void Grid_Setup::optStandardAccuracy_Click() {
    fmAccuracyConfig->hide();
}

void Grid_Setup::optAdvancedAccuracy_Click() {
    fmAccuracyConfig->show();
}

void Grid_Setup::chkAccuracyMap_Click() {
    updateAccuracyMap();
}

void Grid_Setup::updateAccuracyMap() {
    if (!accuracy_ || !chkAccuracyMap->isChecked()) {
        if (canvas_->hasOverlay())
            canvas_->setOverlay({});
        return;
    }
    const AccuracyResult result = *accuracy_;
    canvas_->setOverlay([result](QPainter& painter, const QTransform& pictureToView) {
        painter.save();
        painter.setTransform(pictureToView, true);
        paintAccuracyMap(painter, result);
        painter.restore();
        paintAccuracyLegend(painter, QPointF(8, 8));
    });
}

} // namespace zt
