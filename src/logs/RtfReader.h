#pragma once
// A small reader of rich text (RTF): groups, control words and symbols,
// hexadecimal and Unicode characters, paragraph and line breaks, tabs and
// the common character formats. Destinations that hold no document text
// (font, colour and style tables, document information, pictures, headers,
// field instructions, and every "\*" destination) are skipped.
//
// The reader hands the document to a sink as runs of text with their
// format, so the same pass gives plain text (skier names) or formatted text
// (the manual).

#include <QByteArray>
#include <QString>

namespace zt {

struct RtfCharFormat {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int fontSizeHalfPoints = 24;
    bool operator==(const RtfCharFormat&) const = default;
};

class RtfSink {
public:
    virtual ~RtfSink() = default;
    virtual void text(const QString& text, const RtfCharFormat& format) = 0;
    virtual void paragraphEnd() = 0;
    virtual void lineBreak() = 0;
};

class RtfReader {
public:
    // Reads the whole document into the sink. Unbalanced braces and a
    // truncated document are tolerated: the text read so far stands.
    static void read(const QByteArray& rtf, RtfSink& sink);

    // True when the bytes start (after blanks) with "{\rtf".
    static bool isRtf(const QByteArray& bytes);

    // The document as plain text, paragraphs and line breaks as "\n".
    static QString toPlainText(const QByteArray& rtf);
};

} // namespace zt
