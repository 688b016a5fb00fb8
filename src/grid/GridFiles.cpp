#include "grid/GridFiles.h"

#include "app/FieldReader.h"
#include "app/FileAccess.h"
#include "app/TextFormat.h"

namespace zt {

namespace {

const QString crlf = QStringLiteral("\r\n");

size_t u(int i) {
    return static_cast<size_t>(i);
}

QString oneLine(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

double& buoyValue(GridFileBuoy& b, int k) {
    switch (k) {
    case 0:
        return b.screenX;
    case 1:
        return b.screenY;
    case 2:
        return b.surveyX;
    default:
        return b.surveyY;
    }
}

// Where each numeric item of a setup file goes in the content.
double* itemTarget(GridSetupFile& f, int item) {
    if (item >= gridItem::buoyValue(1, 0) && item <= gridItem::buoyValue(4, 3)) {
        const int i = item - gridItem::buoyValue(1, 0);
        return &buoyValue(f.buoys[u(1 + i / 4)], i % 4);
    }
    if (item >= gridItem::coefficient(1) && item <= gridItem::coefficient(8))
        return &f.coefficients[item - gridItem::coefficient(0)];
    switch (item) {
    case gridItem::jumpX:
        return &f.jumpX;
    case gridItem::jumpY:
        return &f.jumpY;
    case gridItem::constant10:
        return &f.constant10;
    case gridItem::constant2:
        return &f.constant2;
    case gridItem::gridNumber:
        return &f.gridNumber;
    default:
        return nullptr;
    }
}

// Items 3..31 of a setup file map one to one on store slots 3..31.
int gridSlotOfItem(int item) {
    return item;
}

} // namespace

QString checkBuoyFilePath(const QString& setupPath) {
    return setupPath + QStringLiteral(".cb");
}

QString gridSetupFileText(const QString& path, const GridSetupFile& file) {
    QString text = QStringLiteral("Initialization Points for file: ") + oneLine(path) + crlf;
    text += oneLine(file.description) + crlf;
    for (int i = 1; i <= 4; ++i) {
        const GridFileBuoy& b = file.buoys[u(i)];
        text += gridNumberText(b.screenX) + QLatin1Char(',') + gridNumberText(b.screenY) +
                QLatin1Char(',') + gridNumberText(b.surveyX) + QLatin1Char(',') +
                gridNumberText(b.surveyY) + crlf;
    }
    for (int n = 1; n <= 8; ++n)
        text += gridNumberText(file.coefficients[n]) + crlf;
    for (double v : {file.jumpX, file.jumpY, file.constant10, file.constant2, file.gridNumber})
        text += gridNumberText(v) + crlf;
    return text;
}

QString checkBuoyFileText(double screenX, double screenY, const QString& surveyXText,
                          const QString& surveyYText) {
    return gridNumberText(screenX) + crlf + gridNumberText(screenY) + crlf + oneLine(surveyXText) +
           crlf + oneLine(surveyYText) + crlf;
}

FileResult writeGridSetupFile(const QString& path, const GridSetupFile& file) {
    return replaceText(path, gridSetupFileText(path, file));
}

FileResult writeCheckBuoyFile(const QString& path, double screenX, double screenY,
                              const QString& surveyXText, const QString& surveyYText) {
    return replaceText(path, checkBuoyFileText(screenX, screenY, surveyXText, surveyYText));
}

namespace {

QString lineError(int line, const QString& what) {
    return QStringLiteral("line %1: ").arg(line) + what;
}

QString notANumber(int line, const QString& field) {
    if (field.trimmed().isEmpty())
        return lineError(line, QStringLiteral("a number is missing"));
    return lineError(line, QLatin1Char('"') + field + QStringLiteral("\" is not a number"));
}

// A value of a setup file shares its line only with the other values of its
// buoy: a buoy line of three or five values, or two values on one line,
// would move every later value into the wrong place.
bool startsOwnLine(int item) {
    const int first = gridItem::buoyValue(1, 0), last = gridItem::buoyValue(4, 3);
    return item < first || item > last || (item - first) % 4 == 0;
}

QString withPath(const QString& path, const QString& error) {
    return path + QStringLiteral(", ") + error;
}

} // namespace

GridSetupFileRead parseGridSetupFile(const QString& text) {
    GridSetupFileRead read;
    read.status = GridFileStatus::Incomplete;
    FieldReader reader(text);
    const auto header = reader.readLine();
    if (!header)
        return read;
    read.header = *header;
    read.itemsRead = gridItem::header;
    const auto description = reader.readLine();
    if (!description)
        return read;
    read.content.description = *description;
    read.itemsRead = gridItem::description;
    int previousLine = reader.lastLine();
    for (int item = gridItem::description + 1; item <= gridItem::count; ++item) {
        const auto field = reader.nextField();
        if (!field)
            return read;
        const int line = reader.lastLine();
        if ((line == previousLine) == startsOwnLine(item)) {
            read.status = GridFileStatus::BadValue;
            // A line short of values or with one too many: the line before.
            read.error =
                lineError(previousLine, item <= gridItem::buoyValue(4, 3) + 1
                                            ? QStringLiteral("a buoy line holds four numbers "
                                                             "separated by commas")
                                            : QStringLiteral("a line holds one number"));
            return read;
        }
        previousLine = line;
        const auto value = readStoredNumber(*field);
        if (!value) {
            read.status = GridFileStatus::BadValue;
            read.error = notANumber(line, *field);
            return read;
        }
        *itemTarget(read.content, item) = *value;
        read.itemsRead = item;
    }
    read.status = GridFileStatus::Complete;
    return read;
}

GridSetupFileRead readGridSetupFile(const QString& path) {
    const FileRead bytes = readRegularFile(path, readLimit::sideFile);
    if (!bytes) {
        GridSetupFileRead read;
        read.error = bytes.error;
        return read;
    }
    GridSetupFileRead read = parseGridSetupFile(textOfFileBytes(bytes.bytes));
    if (read.status == GridFileStatus::BadValue)
        read.error = withPath(path, read.error);
    return read;
}

CheckBuoyFileRead parseCheckBuoyFile(const QString& text) {
    // One number per line: a typed "12,5" must not push its "5" into the
    // next value. The survey lines hold what the operator typed, read as
    // the boxes read it when the grid was completed.
    CheckBuoyFileRead read;
    read.status = GridFileStatus::Incomplete;
    FieldReader reader(text);
    double* targets[] = {&read.values.screenX, &read.values.screenY, &read.values.surveyX,
                         &read.values.surveyY};
    for (double* target : targets) {
        const auto line = reader.readLine();
        if (!line)
            return read;
        auto value = read.itemsRead < 2 ? readStoredNumber(*line) : readTypedNumber(*line);
        // Saved before a check buoy was placed: a 0 mark and the boxes as
        // they were, often empty. There is no check buoy to read.
        if (!value && read.itemsRead >= 2 && read.values.screenX == 0)
            value = 0.0;
        if (!value) {
            read.status = GridFileStatus::BadValue;
            read.error = notANumber(reader.lastLine(), *line);
            return read;
        }
        *target = *value;
        ++read.itemsRead;
    }
    read.status = GridFileStatus::Complete;
    return read;
}

CheckBuoyFileRead readCheckBuoyFile(const QString& path) {
    const FileRead bytes = readRegularFile(path, readLimit::sideFile);
    if (!bytes) {
        CheckBuoyFileRead read;
        read.error = bytes.error;
        return read;
    }
    CheckBuoyFileRead read = parseCheckBuoyFile(textOfFileBytes(bytes.bytes));
    if (read.status == GridFileStatus::BadValue)
        read.error = withPath(path, read.error);
    return read;
}

GridSetupFile gridFileFromState(const GridState& s, int g, const QString& description) {
    GridSetupFile f;
    f.description = description;
    for (int i = 1; i <= 4; ++i)
        f.buoys[u(i)] = {s.buoyScreenX[u(i)], s.buoyScreenY[u(i)], s.buoySurveyX[u(i)],
                         s.buoySurveyY[u(i)]};
    f.coefficients = s.coefficients();
    f.jumpX = s.savedJumpX;
    f.jumpY = s.savedJumpY;
    f.constant10 = 10;
    f.constant2 = 2;
    f.gridNumber = g;
    return f;
}

GridSetupFile gridFileFromStore(const GridState& s, int g, const QString& description) {
    GridSetupFile f;
    f.description = description;
    if (g < 1 || g > 3)
        return f;
    for (int item = gridItem::buoyValue(1, 0); item <= gridItem::count; ++item)
        *itemTarget(f, item) = s.gridStore[u(g)][u(gridSlotOfItem(item))];
    return f;
}

void storeGridFileValues(GridState& s, int g, const GridSetupFile& file) {
    if (g < 1 || g > 3)
        return;
    GridSetupFile f = file;
    for (int item = gridItem::buoyValue(1, 0); item <= gridItem::count; ++item)
        s.gridStore[u(g)][u(gridSlotOfItem(item))] = *itemTarget(f, item);
}

void applyGridFileRead(GridState& s, int g, const QString& path, const GridSetupFileRead& read) {
    if (g < 1 || g > 3 || read.status == GridFileStatus::Unreadable)
        return;
    if (read.has(gridItem::description)) {
        s.gridDescription[u(g)] = read.content.description;
        s.gridFileName[u(g)] = path;
    }
    GridSetupFile f = read.content;
    for (int item = gridItem::buoyValue(1, 0); item <= read.itemsRead; ++item)
        s.gridStore[u(g)][u(gridSlotOfItem(item))] = *itemTarget(f, item);
    for (int i = 1; i <= 4; ++i) {
        const GridFileBuoy& b = f.buoys[u(i)];
        if (read.has(gridItem::buoyValue(i, 0)))
            s.buoyScreenX[u(i)] = b.screenX;
        if (read.has(gridItem::buoyValue(i, 1)))
            s.buoyScreenY[u(i)] = b.screenY;
        if (read.has(gridItem::buoyValue(i, 2)))
            s.buoySurveyX[u(i)] = b.surveyX;
        if (read.has(gridItem::buoyValue(i, 3)))
            s.buoySurveyY[u(i)] = b.surveyY;
    }
    for (int n = 1; n <= 8; ++n)
        if (read.has(gridItem::coefficient(n)))
            s.solveMatrix[u(n)][9] = f.coefficients[n];
    if (read.has(gridItem::jumpX))
        s.savedJumpX = f.jumpX;
    if (read.has(gridItem::jumpY))
        s.savedJumpY = f.jumpY;
}

void applyCheckBuoyRead(GridState& s, int g, const CheckBuoyFileRead& read) {
    if (g < 1 || g > 3)
        return;
    GridStoreRow& row = s.gridStore[u(g)];
    const CheckBuoyValues& v = read.values;
    if (read.itemsRead >= 1)
        s.checkPixX = s.checkMarkX = row[slot::checkScreenX] = v.screenX;
    if (read.itemsRead >= 2)
        s.checkPixY = s.checkMarkY = row[slot::checkScreenY] = v.screenY;
    if (read.itemsRead >= 3)
        s.checkSurveyX = row[slot::checkSurveyX] = v.surveyX;
    if (read.itemsRead >= 4)
        s.checkSurveyY = row[slot::checkSurveyY] = v.surveyY;
}

void clearCheckBuoy(GridState& s, int g) {
    s.checkPixX = s.checkPixY = 0;
    s.checkMarkX = s.checkMarkY = 0;
    s.checkSurveyX = s.checkSurveyY = 0;
    if (g < 1 || g > 3)
        return;
    GridStoreRow& row = s.gridStore[u(g)];
    row[slot::checkScreenX] = row[slot::checkScreenY] = 0;
    row[slot::checkSurveyX] = row[slot::checkSurveyY] = 0;
}

FileResult saveGridFiles(GridState& s, const GridSaveInput& input) {
    const int g = input.grid;
    if (g < 1 || g > 3)
        return FileResult::failure(input.path, QStringLiteral("no grid ") + QString::number(g));
    s.gridDescription[u(g)] = input.description;
    s.savedJumpX = s.jumpX;
    s.savedJumpY = s.jumpY;
    const GridSetupFile file = gridFileFromState(s, g, input.description);
    if (FileResult r = writeGridSetupFile(input.path, file); !r)
        return r;
    storeGridFileValues(s, g, file);
    const QString cbPath = checkBuoyFilePath(input.path);
    if (FileResult r = writeCheckBuoyFile(cbPath, s.checkMarkX, s.checkMarkY,
                                          input.checkSurveyXText, input.checkSurveyYText);
        !r)
        return r;
    GridStoreRow& row = s.gridStore[u(g)];
    row[slot::checkScreenX] = s.checkMarkX;
    row[slot::checkScreenY] = s.checkMarkY;
    row[slot::checkSurveyX] = readNumber(input.checkSurveyXText);
    row[slot::checkSurveyY] = readNumber(input.checkSurveyYText);
    s.gridFileName[u(g)] = input.path; // only a file written whole names the grid
    return {};
}

GridLoadOutcome loadGridFiles(GridState& s, int g, const QString& path) {
    GridLoadOutcome outcome;
    const GridSetupFileRead read = readGridSetupFile(path);
    outcome.setupStatus = read.status;
    outcome.error = read.error;
    // A file cut short leaves the grid as it was: its first values mixed
    // with the coefficients of the grid before would measure wrongly.
    if (read.status != GridFileStatus::Complete)
        return outcome;
    applyGridFileRead(s, g, path, read);
    const QString cbPath = checkBuoyFilePath(path);
    clearCheckBuoy(s, g);
    // Anything at the name but a regular file (a pipe, a link leading
    // nowhere) is told as a check buoy file that cannot be read.
    if (pathTaken(cbPath)) {
        const CheckBuoyFileRead cb = readCheckBuoyFile(cbPath);
        outcome.checkBuoyStatus = cb.status;
        // Part of a check buoy would make the grid ready with a check buoy
        // that was never surveyed there: all four values or none.
        if (cb.status == GridFileStatus::Complete) {
            outcome.checkBuoyFound = true;
            applyCheckBuoyRead(s, g, cb);
        } else {
            outcome.checkBuoyError = cb.status == GridFileStatus::Incomplete
                                         ? cbPath + QStringLiteral(": ends before its four values")
                                         : cb.error;
        }
    }
    s.jumpX = s.savedJumpX;
    s.jumpY = s.savedJumpY;
    s.gridDirection = gridDirectionOf(s);
    return outcome;
}

} // namespace zt
