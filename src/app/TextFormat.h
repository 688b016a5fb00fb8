#pragma once
// Number and text forms shared by every file the program writes and every
// box it reads. Other programs read these files, so the forms are exact.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>
#include <optional>

namespace zt {

// Lenient reading of a typed or stored number: leading spaces are skipped,
// the longest leading part that forms a number is taken ("12abc" -> 12,
// "-.5" -> -0.5, "1E3" -> 1000), and text without one reads as 0.
double readNumber(const QString& text);

// The same reading, reporting whether a number was found at all.
bool readNumberStrict(const QString& text, double* value);

// A number stored in a file: the whole text, blanks around it aside, forms
// one number that a double holds. nullopt for text, an empty field and a
// magnitude beyond a double (1e400), which must never read as 0.
std::optional<double> readStoredNumber(const QString& text);

// A typed number kept as typed: read as a box reads it (the leading number,
// "12.5 m" -> 12.5), but nullopt when there is none or it overflows.
std::optional<double> readTypedNumber(const QString& text);

// Shortest decimal text without trailing zeros, at most 15 significant
// digits: 2 -> "2", 2.5 -> "2.5", 0.1 + 0.2 -> "0.3". Exponent form ("1E-05")
// only below 1e-4 or from 1e15.
QString numberText(double value);

// Int(v * 10^n + 0.5) / 10^n with Int rounding down.
double roundTo(double value, int decimals);

// Whole-number conversion: nearest integer, halves to the even neighbour.
long long toWholeNumber(double value);

// Whole-number conversion of a text read leniently (settings, boxes).
long long wholeNumberOf(const QString& text);

// Number form of grid setup and check buoy files: a leading space (or the
// minus sign), up to 15 significant digits, no leading zero below 1,
// exponent form "1.5E-05" for very small or large magnitudes, one
// trailing space.
QString gridNumberText(double value);

// mm-dd-yyyy, hh:mm:ss and the six-digit date stamp mmddyy.
QString dateText(const QDate& date);
QString timeText(const QTime& time);
QString dateStamp(const QDate& date);

// A line made of print items: every item after the first starts at the next
// print column (1, 15, 29, ...; 14 characters apart). An item that ends
// exactly on a zone boundary is followed directly by the next item.
// A line written as print items, each after the first at the next print
// column after the end of the line so far (columns 1, 15, 29, ...).
class PrintLine {
public:
    static constexpr int zoneWidth = 14;

    PrintLine& item(const QString& text);
    // The finished line with CR LF.
    QString line() const { return text_ + QStringLiteral("\r\n"); }
    const QString& text() const { return text_; }

private:
    QString text_;
    bool first_ = true;
};

// Pads text with spaces to the next print column.
QString padToNextZone(const QString& text);

// The lines of a text, split at CR LF, LF or CR (the line ends of the
// text files the program reads). A last line end gives a last empty line.
QStringList linesOfText(const QString& text);

} // namespace zt
