#pragma once
// The configuration's rules without widgets: colour numbers, the grid
// count read from the store, the default results file, the lines it
// appends to the results file, the picture folder on exit and the loupe
// program.

#include <QColor>
#include <QDateTime>
#include <QList>
#include <QString>

namespace zt {

class SettingsStore;

// Colours are RGB numbers with red in the low byte.
inline constexpr long rgbWhite = 16777215;
inline constexpr long rgbBlack = 0;
inline constexpr long rgbYellow = 65535;
inline constexpr long rgbRed = 255;

QColor colorOfRgbNumber(long rgb);

// "white", "black", "yellow" -> their numbers; anything else: nullopt
// (the default colours per control apply).
std::optional<long> messageColorOf(const QString& name);
// "red", "yellow", "white", "black" -> their numbers; others white.
long impactColorOf(const QString& name);

// The measure screen controls whose text takes the message colour, with
// their colours under "default".
struct ColoredControl {
    QString name;
    long defaultColor;
};
const QList<ColoredControl>& messageColorControls();

// Grid count option chosen at load from the stored "grids": 2 and 3 as
// stored, everything else (missing, not above 1, above 3, not a whole
// number) 1.
int gridCountChoice(const SettingsStore& settings);

// Results file in the video folder box's folder (trimmed, one trailing
// separator removed): "JumpMeasurementResults" + date stamp + ".txt".
QString defaultResultsPath(const QString& videoFolderBoxText, const QDate& date);

// prefix + mm-dd-yyyy + two spaces + hh:mm:ss + one space + tournament, CR LF.
QString configurationLine(const QString& prefix, const QDateTime& when,
                          const QString& tournamentName);
inline const QString newConfigurationPrefix = QStringLiteral("New Configuration: ");
inline const QString invalidAllowedPrefix = QStringLiteral("Invalid Configurations Allowed: ");
inline const QString onlyValidPrefix = QStringLiteral("Only valid Configurations Allowed: ");

// The picture folder as the exit leaves it: trailing spaces removed, a
// separator appended when it ends in none. An empty folder stays empty.
QString pictureDirOnExit(const QString& pictureDir);

// The loupe program "Loupe\Loupe.exe" under the application folder (on
// systems without .exe also "Loupe/Loupe"); empty when there is none.
QString loupeProgramPath(const QString& appDir);

} // namespace zt
