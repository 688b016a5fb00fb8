#pragma once
// Sequential reading of the comma-separated text files written by this
// program and by the scoring system: grid setup files, check buoy files,
// skier name files and the exchange flag files.
//
// A field runs up to the next comma or line end; blanks around it are
// dropped. A field that starts with a double quote runs up to the closing
// quote (commas included) and loses its quotes. Blank lines between fields
// are skipped. Whole lines can be taken as they stand (readLine).

#include <QString>
#include <optional>

namespace zt {

class FieldReader {
public:
    explicit FieldReader(QString text) : text_(std::move(text)) {}

    // The next field; nullopt when the text ends before one starts.
    std::optional<QString> nextField();
    // The rest of the current line without its line end; nullopt at the end
    // of the text.
    std::optional<QString> readLine();
    bool atEnd() const { return pos_ >= text_.size(); }
    // Line (from 1) on which the field or line last returned starts.
    int lastLine() const { return lastLine_; }

private:
    bool atLineEnd() const;
    void skipLineEnd();
    void skipBlanks();
    // Moves past the comma or line end that ends the field.
    void skipDelimiter();
    // Counts the line ends passed up to pos_, so lastLine() is known.
    void noteStart();

    QString text_;
    qsizetype pos_ = 0;
    qsizetype counted_ = 0; // text before this has its line ends counted
    int line_ = 1;
    int lastLine_ = 0;
};

// Every field of a text, in order.
QStringList allFields(const QString& text);

} // namespace zt
