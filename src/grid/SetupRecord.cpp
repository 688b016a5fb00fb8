#include "grid/SetupRecord.h"

#include "app/TextFormat.h"

namespace zt {

namespace {

const QString crlf = QStringLiteral("\r\n");
const QString gap = QStringLiteral("  ");

size_t u(int i) {
    return static_cast<size_t>(i);
}

QString pairLine(const QString& label, const QString& a, const QString& b) {
    return label + a + gap + b + crlf;
}

QString buoyLines(const SetupRecordInput& in, int buoy, const QString& corner,
                  const QString& unit) {
    const auto i = u(buoy);
    return pairLine(corner + QStringLiteral(" X,Y ") + unit + QStringLiteral(": "),
                    in.screenXText[i], in.screenYText[i]) +
           pairLine(corner + QStringLiteral(" X,Y Survey: "), in.surveyXText[i],
                    in.surveyYText[i]) +
           QStringLiteral(" ") + crlf;
}

QString checkBuoyLines(SetupRecordKind kind, const SetupRecordInput& in) {
    const QString blank = QStringLiteral(" ") + crlf;
    switch (kind) {
    case SetupRecordKind::AfterComplete:
        return pairLine(QStringLiteral("Check Buoy X,Y Pixels: "), gridNumberText(in.checkPixX),
                        gridNumberText(in.checkPixY)) +
               pairLine(QStringLiteral("Check Buoy X,Y Survey: "), gridNumberText(in.checkSurveyX),
                        gridNumberText(in.checkSurveyY)) +
               blank;
    case SetupRecordKind::AfterLoad:
        if (!(in.checkPixX > 0))
            return QStringLiteral("No check buoy for this set up") + crlf + blank;
        return pairLine(QStringLiteral("Check Buoy X,Y Twips: "), gridNumberText(in.checkPixX),
                        gridNumberText(in.checkPixY)) +
               pairLine(QStringLiteral("Check Buoyt X,Y Survey: "), gridNumberText(in.checkSurveyX),
                        gridNumberText(in.checkSurveyY)) +
               blank;
    case SetupRecordKind::AfterStartupLoad:
        return pairLine(QStringLiteral("Check Buoy X,Y Twips: "), in.checkScreenXText,
                        in.checkScreenYText) +
               pairLine(QStringLiteral("Check Buoy X,Y Survey: "), in.checkSurveyXText,
                        in.checkSurveyYText) +
               blank;
    }
    return {};
}

} // namespace

QString setupRecordText(SetupRecordKind kind, const SetupRecordInput& in) {
    const QString unit =
        kind == SetupRecordKind::AfterComplete ? QStringLiteral("Pixels") : QStringLiteral("Twips");
    QString text = dateText(in.when.date()) + QLatin1Char(' ') + timeText(in.when.time()) +
                   QStringLiteral(" New Set-up now in place") + crlf;
    text += in.fileNameText + crlf;
    text += in.descriptionText + crlf;
    text += QStringLiteral("Grid Number: ") + gridNumberText(in.gridNumber) + crlf;
    text += QStringLiteral(" ") + crlf;
    text += buoyLines(in, 3, QStringLiteral("Upper Left"), unit);
    text += buoyLines(in, 4, QStringLiteral("Lower Left"), unit);
    text += buoyLines(in, 1, QStringLiteral("Upper Right"), unit);
    text += buoyLines(in, 2, QStringLiteral("Lower Right"), unit);
    text += pairLine(QStringLiteral("Jump X,Y Survey: "), in.jumpXText, in.jumpYText);
    text += QStringLiteral(" ") + crlf;
    text += checkBuoyLines(kind, in);
    return text;
}

void fillSetupRecordFromState(SetupRecordInput& in, const GridState& s) {
    for (int i = 1; i <= 4; ++i) {
        in.screenXText[u(i)] = numberText(s.buoyScreenX[u(i)]);
        in.screenYText[u(i)] = numberText(s.buoyScreenY[u(i)]);
        in.surveyXText[u(i)] = numberText(s.buoySurveyX[u(i)]);
        in.surveyYText[u(i)] = numberText(s.buoySurveyY[u(i)]);
    }
    in.jumpXText = numberText(s.jumpX);
    in.jumpYText = numberText(s.jumpY);
    in.checkPixX = s.checkPixX;
    in.checkPixY = s.checkPixY;
    in.checkSurveyX = s.checkSurveyX;
    in.checkSurveyY = s.checkSurveyY;
    in.checkScreenXText = numberText(s.checkPixX);
    in.checkScreenYText = numberText(s.checkPixY);
    in.checkSurveyXText = numberText(s.checkSurveyX);
    in.checkSurveyYText = numberText(s.checkSurveyY);
}

FileResult appendSetupRecord(const QString& resultsPath, SetupRecordKind kind,
                             const SetupRecordInput& input) {
    return appendText(resultsPath, setupRecordText(kind, input));
}

} // namespace zt
