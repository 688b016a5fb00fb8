#include "app/FieldReader.h"

#include <QStringList>

namespace zt {

namespace {

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}
bool isLineEndChar(QChar c) {
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

} // namespace

bool FieldReader::atLineEnd() const {
    return !atEnd() && isLineEndChar(text_[pos_]);
}

void FieldReader::skipLineEnd() {
    if (atEnd())
        return;
    if (text_[pos_] == QLatin1Char('\r')) {
        ++pos_;
        if (!atEnd() && text_[pos_] == QLatin1Char('\n'))
            ++pos_;
    } else if (text_[pos_] == QLatin1Char('\n')) {
        ++pos_;
    }
}

void FieldReader::skipBlanks() {
    while (!atEnd() && isBlank(text_[pos_]))
        ++pos_;
}

void FieldReader::skipDelimiter() {
    skipBlanks();
    if (atEnd())
        return;
    if (text_[pos_] == QLatin1Char(',')) {
        ++pos_;
        // A comma closing a line ends the field together with the line end.
        qsizetype p = pos_;
        while (p < text_.size() && isBlank(text_[p]))
            ++p;
        if (p < text_.size() && isLineEndChar(text_[p])) {
            pos_ = p;
            skipLineEnd();
        }
    } else {
        skipLineEnd();
    }
}

void FieldReader::noteStart() {
    for (; counted_ < pos_; ++counted_) {
        const QChar c = text_[counted_];
        // CR LF is one line end; so is a CR or an LF alone.
        if (c == QLatin1Char('\n') ||
            (c == QLatin1Char('\r') &&
             !(counted_ + 1 < text_.size() && text_[counted_ + 1] == QLatin1Char('\n'))))
            ++line_;
    }
    lastLine_ = line_;
}

std::optional<QString> FieldReader::nextField() {
    for (;;) {
        skipBlanks();
        if (atEnd())
            return std::nullopt;
        if (!atLineEnd())
            break;
        skipLineEnd(); // blank line
    }
    noteStart();
    QString field;
    if (text_[pos_] == QLatin1Char('"')) {
        ++pos_;
        while (!atEnd() && text_[pos_] != QLatin1Char('"') && !isLineEndChar(text_[pos_]))
            field += text_[pos_++];
        if (!atEnd() && text_[pos_] == QLatin1Char('"'))
            ++pos_;
        // Anything between the closing quote and the delimiter is dropped.
        while (!atEnd() && text_[pos_] != QLatin1Char(',') && !isLineEndChar(text_[pos_]))
            ++pos_;
    } else {
        while (!atEnd() && text_[pos_] != QLatin1Char(',') && !isLineEndChar(text_[pos_]))
            field += text_[pos_++];
        while (!field.isEmpty() && isBlank(field.back()))
            field.chop(1);
    }
    skipDelimiter();
    return field;
}

std::optional<QString> FieldReader::readLine() {
    if (atEnd())
        return std::nullopt;
    noteStart();
    const qsizetype start = pos_;
    while (!atEnd() && !isLineEndChar(text_[pos_]))
        ++pos_;
    QString line = text_.mid(start, pos_ - start);
    skipLineEnd();
    return line;
}

QStringList allFields(const QString& text) {
    QStringList fields;
    FieldReader reader(text);
    while (auto f = reader.nextField())
        fields << *f;
    return fields;
}

} // namespace zt
