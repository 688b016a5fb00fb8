#include "measure/Recording.h"

#include "measure/DistanceText.h"
#include "measure/ExchangeFiles.h"
#include "measure/JumpRecord.h"

namespace zt {

namespace {

struct RecordValues {
    QString metersText, feetText;
};

// Falls, passes and other-grid entries without a still picture take the
// next jump number at once and clear the result choice.
void advanceAtOnce(MeasureRecordState& s, bool* advance) {
    if (s.pictureFrozen)
        return;
    *advance = true;
    s.fallSelected = s.passSelected = false;
}

} // namespace

QString resultsWriteErrorMessage(const FileResult& failure) {
    return QStringLiteral("The jump could not be written to the results file ") + failure.error +
           QStringLiteral(". Check the results file in the configuration and record again.");
}

RecordOutcome recordJump(GridState& grid, MeasureRecordState& state, const RecordSettings& settings,
                         Dialogs& dialogs, const Clock& clock) {
    RecordOutcome outcome;
    MeasureRecordState s = state; // committed only once the line is written
    const GridState gridBefore = grid;
    bool advance = false, special = false;
    RecordValues values;

    if (s.passSelected || s.fallSelected) {
        s.distanceText.clear();
        s.distanceFtText.clear();
        advanceAtOnce(s, &advance);
        special = true;
    }
    if (s.otherGridOn) {
        const OtherGridEntry entry = askOtherGridDistance(dialogs);
        if (!entry.recorded)
            s.comment = entry.comment;
        s.distanceText = entry.metersShown;
        s.distanceFtText = entry.feetShown;
        values = {entry.metersText, entry.feetText};
        advanceAtOnce(s, &advance);
    }
    if (!s.otherGridOn && !special) {
        const auto d =
            distanceOfMark(grid, s.clickX, s.clickY,
                           {settings.barefootJump, settings.sitSkiJump, settings.feetToTenths});
        if (!d) {
            dialogs.error(QStringLiteral("The distance cannot be computed at this mark. "
                                         "Mark the landing point again."));
            outcome.status = RecordStatus::DistanceUnavailable;
            return outcome;
        }
        s.distanceText = d->metersShown;
        s.distanceFtText = d->feetShown;
        s.lastDistanceText = d->lastDistanceText;
        values = {d->metersText, d->feetText};
    }

    JumpRecordInput line;
    line.when = clock.now();
    line.skierName = s.skierName;
    line.jumpNumber = s.jumpNumber;
    line.metersText = s.distanceText;
    line.feetText = s.distanceFtText;
    line.barefootJump = settings.barefootJump;
    line.verifyMode = s.verifyMode;
    line.comment = s.comment;
    line.otherGrid = s.otherGridOn;
    line.waterX = grid.waterX, line.waterY = grid.waterY;
    line.screenX = grid.screenX, line.screenY = grid.screenY;
    line.lastDistanceText = s.lastDistanceText;
    outcome.line = jumpRecordLine(line);
    if (FileResult r = appendText(settings.resultsPath, outcome.line); !r) {
        grid = gridBefore;
        dialogs.error(resultsWriteErrorMessage(r));
        outcome.status = RecordStatus::ResultsNotWritten;
        outcome.line.clear();
        return outcome;
    }

    if (settings.wstims) {
        ExchangeResult result{resultKindOfComment(s.comment),
                              values.metersText,
                              values.feetText,
                              s.jumpNumber,
                              s.skierName,
                              line.when.time()};
        if (FileResult r = writeExchangeResult(settings.exchangeDir, result); !r) {
            outcome.exchangeError = r.error;
            dialogs.inform(exchangeWriteErrorMessage(r));
        } else {
            outcome.exchangeWritten = true;
        }
    }
    s.commentVisible = false;
    if (advance)
        s.jumpNumber = nextJumpNumberText(s.jumpNumber);
    s.otherGridOn = false;
    s.comment.clear();
    deleteExchangePictures(settings.exchangeDir);
    state = s;
    return outcome;
}

bool recordEvent(const QString& resultsPath, const QString& eventText, Dialogs& dialogs,
                 const Clock& clock) {
    if (FileResult r = appendText(resultsPath, eventLine(clock.now(), eventText)); !r) {
        dialogs.error(QStringLiteral("The line could not be written to the results file ") +
                      r.error + QLatin1Char('.'));
        return false;
    }
    return true;
}

} // namespace zt
