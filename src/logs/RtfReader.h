#pragma once
// A small reader of rich text (RTF): groups, control words and symbols,
// hexadecimal and Unicode characters, paragraph and line breaks, tabs, the
// common character formats and paragraph indents and spacing. Destinations that hold no document
// text (font, colour and style tables, document information, pictures, headers, field instructions,
// and every "\*" destination) are skipped.
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

// Paragraph properties (\pard resets them): indents and spacing in twips,
// centring.
struct RtfParagraphFormat {
    int leftIndent = 0;      // \li
    int firstLineIndent = 0; // \fi, relative to the left indent
    int spaceBefore = 0;     // \sb
    int spaceAfter = 0;      // \sa
    bool centered = false;   // \qc
    bool operator==(const RtfParagraphFormat&) const = default;
};

class RtfSink {
public:
    virtual ~RtfSink() = default;
    // Format of the paragraph that starts, before its first text (or before
    // its end when it is empty).
    virtual void paragraphFormat(const RtfParagraphFormat&) {}
    virtual void text(const QString& text, const RtfCharFormat& format) = 0;
    virtual void paragraphEnd() = 0;
    virtual void lineBreak() = 0;
};

class RtfReader {
public:
    // Groups nested deeper than this end the reading.
    static constexpr int maxNesting = 1000;

    // Reads the whole document into the sink. Unbalanced braces and a
    // truncated document are tolerated: the text read so far stands. False
    // when the groups nest deeper than maxNesting: the reading ended there,
    // the text before stands.
    static bool read(const QByteArray& rtf, RtfSink& sink);

    // True when the bytes start (after blanks) with "{\rtf".
    static bool isRtf(const QByteArray& bytes);

    // The document as plain text, paragraphs and line breaks as "\n";
    // *complete false when the reading ended at too deep a nesting.
    static QString toPlainText(const QByteArray& rtf, bool* complete = nullptr);
};

} // namespace zt
