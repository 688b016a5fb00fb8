#include "app/TextFormat.h"

#include <QRegularExpression>
#include <charconv>
#include <cmath>
#include <limits>

namespace zt {

namespace {

// The point is the decimal mark whatever the process locale says: files and
// boxes are shared between computers set up for different countries, so
// every conversion here goes through from_chars / to_chars, never through
// the C library's locale-dependent strtod and printf.

// Value of a decimal text that is known to form a number; 0 when it lies
// beyond a double (no infinity reaches the program).
double decimalValue(const char* first, const char* last) {
    double v = 0;
    const auto [end, ec] = std::from_chars(first, last, v, std::chars_format::general);
    (void)end;
    if (ec != std::errc() || !std::isfinite(v))
        return 0;
    return v;
}

// printf's %.*e (scientific) or %.*f (fixed) of the C locale.
QByteArray formatted(double value, std::chars_format format, int precision) {
    char buf[400]; // %f of the largest double with the decimals asked for
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, format, precision);
    if (ec != std::errc())
        return QByteArrayLiteral("0");
    return QByteArray(buf, end - buf);
}

double valueOf(const QByteArray& text) {
    return decimalValue(text.constData(), text.constData() + text.size());
}

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Length of the longest leading number in text starting at pos, or 0.
qsizetype scanNumber(const QString& text, qsizetype pos) {
    qsizetype i = pos;
    const qsizetype n = text.size();
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    qsizetype digits = 0;
    while (i < n && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == QLatin1Char('.')) {
        qsizetype j = i + 1;
        qsizetype frac = 0;
        while (j < n && isDigit(text[j])) {
            ++j;
            ++frac;
        }
        if (digits + frac > 0)
            i = j, digits += frac;
    }
    if (digits == 0)
        return 0;
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E') ||
                  text[i] == QLatin1Char('d') || text[i] == QLatin1Char('D'))) {
        qsizetype j = i + 1;
        if (j < n && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-')))
            ++j;
        qsizetype expDigits = 0;
        while (j < n && isDigit(text[j])) {
            ++j;
            ++expDigits;
        }
        if (expDigits > 0)
            i = j;
    }
    return i - pos;
}

} // namespace

bool readNumberStrict(const QString& text, double* value) {
    qsizetype pos = 0;
    while (pos < text.size() && (text[pos] == QLatin1Char(' ') || text[pos] == QLatin1Char('\t')))
        ++pos;
    const qsizetype len = scanNumber(text, pos);
    if (len == 0) {
        *value = 0;
        return false;
    }
    QString part = text.mid(pos, len);
    part.replace(QLatin1Char('d'), QLatin1Char('e')).replace(QLatin1Char('D'), QLatin1Char('e'));
    if (part.startsWith(QLatin1Char('+')))
        part.remove(0, 1); // from_chars takes no plus sign
    const QByteArray bytes = part.toLatin1();
    *value = decimalValue(bytes.constData(), bytes.constData() + bytes.size());
    return true;
}

namespace {

bool isBlankChar(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// A number text out of a double's range that lies below its smallest
// magnitude rather than beyond its largest: a negative exponent, or no
// digit but 0 in front of the point.
bool tooSmallForDouble(const QByteArray& number) {
    const qsizetype e = number.indexOf('e');
    if (e >= 0)
        return e + 1 < number.size() && number[e + 1] == '-';
    const qsizetype point = number.indexOf('.');
    const QByteArray whole = point < 0 ? number : number.left(point);
    for (char c : whole)
        if (c >= '1' && c <= '9')
            return false;
    return true;
}

// The leading number of text (blanks before it skipped) and where it ends;
// nullopt without one or when it lies beyond a double.
std::optional<double> leadingNumber(const QString& text, qsizetype* end) {
    qsizetype pos = 0;
    while (pos < text.size() && isBlankChar(text[pos]))
        ++pos;
    const qsizetype len = scanNumber(text, pos);
    if (len == 0)
        return std::nullopt;
    QString part = text.mid(pos, len);
    part.replace(QLatin1Char('d'), QLatin1Char('e')).replace(QLatin1Char('D'), QLatin1Char('e'));
    if (part.startsWith(QLatin1Char('+')))
        part.remove(0, 1);
    const QByteArray bytes = part.toLatin1();
    double v = 0;
    const auto [last, ec] = std::from_chars(bytes.constData(), bytes.constData() + bytes.size(), v,
                                            std::chars_format::general);
    (void)last;
    if (ec == std::errc::result_out_of_range && tooSmallForDouble(bytes))
        v = 0; // 1e-400 is as good as 0
    else if (ec != std::errc() || !std::isfinite(v))
        return std::nullopt; // 1e400 is no number a grid can hold
    *end = pos + len;
    return v;
}

} // namespace

std::optional<double> readStoredNumber(const QString& text) {
    qsizetype end = 0;
    const auto v = leadingNumber(text, &end);
    if (!v)
        return std::nullopt;
    while (end < text.size() && isBlankChar(text[end]))
        ++end;
    return end == text.size() ? v : std::nullopt;
}

std::optional<double> readTypedNumber(const QString& text) {
    qsizetype end = 0;
    return leadingNumber(text, &end);
}

double readNumber(const QString& text) {
    double v = 0;
    readNumberStrict(text, &v);
    return v;
}

namespace {

// Splits a %g/%e text into mantissa and a two-digit-or-more signed exponent.
QString basicExponentForm(const QString& gText) {
    const qsizetype e = gText.indexOf(QLatin1Char('e'));
    if (e < 0)
        return gText;
    const QString mantissa = gText.left(e);
    const int exponent = gText.mid(e + 1).toInt();
    const QString digits = QString::number(std::abs(exponent)).rightJustified(2, QLatin1Char('0'));
    return mantissa + QLatin1Char('E') + (exponent < 0 ? QLatin1Char('-') : QLatin1Char('+')) +
           digits;
}

bool wantsExponent(double magnitude) {
    return magnitude != 0 && (magnitude < 1e-4 || magnitude >= 1e15);
}

// Shortest text with at most `digits` significant digits that reads back as
// the value rounded to that many digits; exponent form where wanted.
QString plainOrExponent(double value, int digits) {
    const double target = valueOf(formatted(value, std::chars_format::scientific, digits - 1));
    QByteArray text;
    if (wantsExponent(std::fabs(value))) {
        for (int d = 1; d <= digits; ++d) {
            text = formatted(value, std::chars_format::scientific, d - 1);
            if (valueOf(text) == target)
                break;
        }
        return basicExponentForm(QString::fromLatin1(text));
    }
    for (int decimals = 0; decimals <= digits + 4; ++decimals) {
        text = formatted(value, std::chars_format::fixed, decimals);
        if (valueOf(text) == target)
            break;
    }
    return QString::fromLatin1(text);
}

} // namespace

QString numberText(double value) {
    if (!std::isfinite(value))
        return QStringLiteral("0");
    if (value == 0)
        return QStringLiteral("0");
    return plainOrExponent(value, 15);
}

double roundTo(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::floor(value * scale + 0.5) / scale;
}

long long toWholeNumber(double value) {
    if (!std::isfinite(value))
        return 0;
    constexpr double limit = 9.2e18;
    if (value > limit)
        return std::numeric_limits<long long>::max();
    if (value < -limit)
        return std::numeric_limits<long long>::min();
    return static_cast<long long>(std::nearbyint(value)); // default mode: halves to even
}

long long wholeNumberOf(const QString& text) {
    return toWholeNumber(readNumber(text));
}

QString gridNumberText(double value) {
    if (!std::isfinite(value))
        value = 0;
    if (value == 0)
        return QStringLiteral(" 0 ");
    QString text = plainOrExponent(value, 15);
    // No leading zero below 1: "0.5" -> ".5", "-0.5" -> "-.5".
    if (text.startsWith(QStringLiteral("0.")))
        text.remove(0, 1);
    else if (text.startsWith(QStringLiteral("-0.")))
        text.remove(1, 1);
    if (!text.startsWith(QLatin1Char('-')))
        text.prepend(QLatin1Char(' '));
    return text + QLatin1Char(' ');
}

QString dateText(const QDate& date) {
    return date.toString(QStringLiteral("MM-dd-yyyy"));
}

QString timeText(const QTime& time) {
    return time.toString(QStringLiteral("HH:mm:ss"));
}

QString dateStamp(const QDate& date) {
    const QString d = dateText(date);
    return d.mid(0, 2) + d.mid(3, 2) + d.mid(8, 2);
}

QString padToNextZone(const QString& text) {
    const qsizetype rem = text.size() % PrintLine::zoneWidth;
    if (rem == 0)
        return text;
    return text + QString(PrintLine::zoneWidth - rem, QLatin1Char(' '));
}

PrintLine& PrintLine::item(const QString& text) {
    // The next item starts at the next print column after the end of the
    // line so far: an item that fills its zone exactly is still followed
    // by a space.
    if (!first_)
        text_ = padToNextZone(text_.isEmpty() ? text_ : text_ + QLatin1Char(' '));
    first_ = false;
    text_ += text;
    return *this;
}

QStringList linesOfText(const QString& text) {
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n|\r"));
    return text.split(lineEnd);
}

} // namespace zt
