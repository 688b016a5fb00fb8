#include "app/TextFormat.h"

#include "support/CommaLocale.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace zt;

TEST(TextFormat, LenientReading) {
    EXPECT_EQ(readNumber(QStringLiteral("  12.5abc")), 12.5);
    EXPECT_EQ(readNumber(QStringLiteral("-.5")), -0.5);
    EXPECT_EQ(readNumber(QStringLiteral("+3")), 3);
    EXPECT_EQ(readNumber(QStringLiteral(".25")), 0.25);
    EXPECT_EQ(readNumber(QStringLiteral("1.5E-05")), 1.5e-5);
    EXPECT_EQ(readNumber(QStringLiteral(" 2e3x")), 2000);
    EXPECT_EQ(readNumber(QStringLiteral("7e")), 7); // exponent without digits is not taken
    EXPECT_EQ(readNumber(QStringLiteral("7e+")), 7);
    EXPECT_EQ(readNumber(QStringLiteral("auto")), 0); // marker texts read as 0
    EXPECT_EQ(readNumber(QStringLiteral("")), 0);
    EXPECT_EQ(readNumber(QStringLiteral("-")), 0);
    EXPECT_EQ(readNumber(QStringLiteral(".")), 0);
    EXPECT_EQ(readNumber(QStringLiteral("1e999")), 0); // beyond a double: no infinity
    EXPECT_EQ(readNumber(QStringLiteral("12,5")), 12);
    double v = 1;
    EXPECT_FALSE(readNumberStrict(QStringLiteral("jump x"), &v));
    EXPECT_EQ(v, 0);
}

TEST(TextFormat, ShortestNumberText) {
    EXPECT_EQ(numberText(2), QStringLiteral("2"));
    EXPECT_EQ(numberText(2.5), QStringLiteral("2.5"));
    EXPECT_EQ(numberText(-0.25), QStringLiteral("-0.25"));
    EXPECT_EQ(numberText(0.1 + 0.2), QStringLiteral("0.3"));
    EXPECT_EQ(numberText(45.36), QStringLiteral("45.36"));
    EXPECT_EQ(numberText(0), QStringLiteral("0"));
    EXPECT_EQ(numberText(1e-5), QStringLiteral("1E-05"));
    EXPECT_EQ(numberText(123456789012), QStringLiteral("123456789012"));
}

TEST(TextFormat, RoundingRules) {
    EXPECT_DOUBLE_EQ(roundTo(45.36, 1), 45.4);
    EXPECT_DOUBLE_EQ(roundTo(45.35, 0), 45);
    EXPECT_DOUBLE_EQ(roundTo(-1.25, 1), -1.2); // Int rounds down: -12.5 + 0.5 -> -12
    EXPECT_DOUBLE_EQ(roundTo(2.5, 0), 3);
    EXPECT_EQ(toWholeNumber(2.5), 2);
    EXPECT_EQ(toWholeNumber(3.5), 4);
    EXPECT_EQ(toWholeNumber(-2.5), -2);
    EXPECT_EQ(toWholeNumber(148.8), 149);
    EXPECT_EQ(toWholeNumber(1e300), std::numeric_limits<long long>::max());
    EXPECT_EQ(toWholeNumber(std::nan("")), 0);
    EXPECT_EQ(wholeNumberOf(QStringLiteral(" 29.97")), 30);
}

TEST(TextFormat, GridFileNumberForm) {
    EXPECT_EQ(gridNumberText(0.5), QStringLiteral(" .5 "));
    EXPECT_EQ(gridNumberText(-0.5), QStringLiteral("-.5 "));
    EXPECT_EQ(gridNumberText(12000), QStringLiteral(" 12000 "));
    EXPECT_EQ(gridNumberText(-3.25), QStringLiteral("-3.25 "));
    EXPECT_EQ(gridNumberText(0), QStringLiteral(" 0 "));
    EXPECT_EQ(gridNumberText(0.01), QStringLiteral(" .01 "));
    EXPECT_EQ(gridNumberText(1.5e-5), QStringLiteral(" 1.5E-05 "));
    EXPECT_EQ(gridNumberText(-2.25e-7), QStringLiteral("-2.25E-07 "));
    EXPECT_EQ(gridNumberText(1e20), QStringLiteral(" 1E+20 "));
    EXPECT_EQ(gridNumberText(1e-100), QStringLiteral(" 1E-100 "));
    EXPECT_EQ(gridNumberText(1.0 / 3), QStringLiteral(" .333333333333333 "));
    EXPECT_EQ(gridNumberText(2.0 / 3 * 1e-5), QStringLiteral(" 6.66666666666667E-06 "));
    // Every form reads back to the value at 15 significant digits.
    for (double v : {123.456789012345678, -0.000123456789012345, 9.87654321098765e-6,
                     98765.4321098765, 1e15, -7e-13}) {
        const double back = readNumber(gridNumberText(v));
        EXPECT_NEAR(back, v, std::fabs(v) * 1e-14) << gridNumberText(v).toStdString();
    }
}

TEST(TextFormat, DatesTimesAndStamp) {
    const QDate d(2026, 12, 7);
    EXPECT_EQ(dateText(d), QStringLiteral("12-07-2026"));
    EXPECT_EQ(dateStamp(d), QStringLiteral("120726"));
    EXPECT_EQ(dateStamp(QDate(2027, 1, 3)), QStringLiteral("010327"));
    EXPECT_EQ(timeText(QTime(13, 5, 9)), QStringLiteral("13:05:09"));
    EXPECT_EQ(timeText(QTime(0, 0, 0)), QStringLiteral("00:00:00"));
}

TEST(TextFormat, PrintZones) {
    // Date (10 chars) moves to column 15, time (8) to column 29.
    EXPECT_EQ(
        PrintLine()
            .item(QStringLiteral("12-07-2026"))
            .item(QStringLiteral("13:05:09"))
            .item(QStringLiteral("Zentrak Measurement Session started  "))
            .line(),
        QStringLiteral("12-07-2026    13:05:09      Zentrak Measurement Session started  \r\n"));
    // An item longer than a zone pushes the next item to the following zone.
    EXPECT_EQ(PrintLine().item(QStringLiteral("123456789012345")).item(QStringLiteral("x")).text(),
              QStringLiteral("123456789012345") + QString(13, QLatin1Char(' ')) +
                  QStringLiteral("x"));
    // An item that ends exactly at a column is still followed by a space
    // ("Skier: Ann Lee" is 14 characters).
    EXPECT_EQ(PrintLine()
                  .item(QStringLiteral("Skier: Ann Lee"))
                  .item(QStringLiteral("Jump: 3"))
                  .item(QStringLiteral("12345678901234567890123456789012345678901234567890123456"))
                  .item(QStringLiteral("x"))
                  .text(),
              QStringLiteral("Skier: Ann Lee") + QString(14, QLatin1Char(' ')) +
                  QStringLiteral("Jump: 3") + QString(7, QLatin1Char(' ')) +
                  QStringLiteral("12345678901234567890123456789012345678901234567890123456") +
                  QString(14, QLatin1Char(' ')) + QStringLiteral("x"));
    EXPECT_EQ(PrintLine().item(QString()).item(QStringLiteral("a")).text(), QStringLiteral("a"));
    EXPECT_EQ(PrintLine().item(QStringLiteral("only")).line(), QStringLiteral("only\r\n"));
}

TEST(TextFormat, NumbersKeepThePointUnderACommaLocale) {
    ZT_UNDER_COMMA_LOCALE(comma);
    EXPECT_EQ(readNumber(QStringLiteral("30.5")), 30.5);
    EXPECT_EQ(readNumber(QStringLiteral(" 1.5 ")), 1.5);
    EXPECT_EQ(readNumber(QStringLiteral("6.5E-08")), 6.5e-8);
    EXPECT_EQ(readNumber(QStringLiteral("-.25")), -0.25);
    EXPECT_EQ(readNumber(QStringLiteral("+2.5d1")), 25);
    EXPECT_EQ(readNumber(QStringLiteral("12,5")), 12); // a comma still ends the number
    EXPECT_EQ(readNumber(QStringLiteral("1e999")), 0);

    EXPECT_EQ(numberText(-52.6431355899515), QStringLiteral("-52.6431355899515"));
    EXPECT_EQ(numberText(0.1 + 0.2), QStringLiteral("0.3"));
    EXPECT_EQ(numberText(1e-5), QStringLiteral("1E-05"));
    EXPECT_EQ(gridNumberText(0.5), QStringLiteral(" .5 "));
    EXPECT_EQ(gridNumberText(-3.25), QStringLiteral("-3.25 "));
    EXPECT_EQ(gridNumberText(1.5e-5), QStringLiteral(" 1.5E-05 "));
    EXPECT_EQ(gridNumberText(2.0 / 3 * 1e-5), QStringLiteral(" 6.66666666666667E-06 "));
    EXPECT_EQ(wholeNumberOf(QStringLiteral(" 29.97")), 30);
}

TEST(TextFormat, StoredNumbersReadWholeOrNotAtAll) {
    EXPECT_EQ(zt::readStoredNumber(QStringLiteral(" -.5 ")), -0.5);
    EXPECT_EQ(zt::readStoredNumber(QStringLiteral("1.5E-05")), 1.5e-5);
    EXPECT_EQ(zt::readStoredNumber(QStringLiteral("4D-06")), 4e-6);
    EXPECT_EQ(zt::readStoredNumber(QStringLiteral("1e-400")), 0.0); // below a double: 0
    // Never 0 for what is no number.
    for (const char* bad : {"", "  ", "x.5", "1e400", "-1E+999", "12abc", "9000; 2500", "."})
        EXPECT_FALSE(zt::readStoredNumber(QString::fromLatin1(bad))) << bad;
    // A typed value reads as its box reads it, but must hold a number.
    EXPECT_EQ(zt::readTypedNumber(QStringLiteral("12,5")), 12.0);
    EXPECT_FALSE(zt::readTypedNumber(QStringLiteral("CheckY")));
    EXPECT_FALSE(zt::readTypedNumber(QStringLiteral("1e400")));
}
