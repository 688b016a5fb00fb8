#pragma once
// Readable gtest output for Qt text types: a failed comparison shows the
// text with its line ends made visible instead of a dump of UTF-16 units.

#include <QByteArray>
#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    QString shown = text;
    shown.replace(QLatin1Char('\r'), QStringLiteral("\\r"))
        .replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    *os << '"' << shown.toStdString() << '"';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
    PrintTo(QString::fromLatin1(bytes), os);
}
