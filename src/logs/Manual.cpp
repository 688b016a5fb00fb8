#include "logs/Manual.h"

#include "app/FileAccess.h"
#include "app/FileUtils.h"
#include "app/Paths.h"
#include "logs/RtfReader.h"

#include <QFileInfo>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace zt {

namespace {

constexpr double twipsPerPixel = 15;

// Builds a document from the reader's runs and paragraphs.
class DocumentSink : public RtfSink {
public:
    explicit DocumentSink(QTextDocument& document) : cursor_(&document) {}

    void paragraphFormat(const RtfParagraphFormat& p) override {
        QTextBlockFormat block;
        block.setLeftMargin(p.leftIndent / twipsPerPixel);
        block.setTextIndent(p.firstLineIndent / twipsPerPixel);
        block.setTopMargin(p.spaceBefore / twipsPerPixel);
        block.setBottomMargin(p.spaceAfter / twipsPerPixel);
        block.setAlignment(p.centered ? Qt::AlignHCenter : Qt::AlignLeft);
        cursor_.setBlockFormat(block);
    }
    void text(const QString& text, const RtfCharFormat& f) override {
        QTextCharFormat c;
        c.setFontWeight(f.bold ? QFont::Bold : QFont::Normal);
        c.setFontItalic(f.italic);
        c.setFontUnderline(f.underline);
        c.setFontPointSize(f.fontSizeHalfPoints / 2.0);
        cursor_.insertText(text, c);
    }
    void paragraphEnd() override { cursor_.insertBlock(); }
    void lineBreak() override { cursor_.insertText(QString(QChar::LineSeparator)); }

private:
    QTextCursor cursor_;
};

} // namespace

ManualText loadManual(const QString& appDir, const QByteArray& delivered) {
    ManualText m;
    const QString path = joinPath(appDir, manual::fileName);
    if (!QFileInfo::exists(path)) {
        const FileResult copied = replaceFile(path, delivered);
        m.copied = copied.ok;
        m.copyError = copied.error;
        m.rtf = delivered;
        return m;
    }
    FileRead read = readRegularFile(path, readLimit::manual);
    if (!read) {
        m.warning = QStringLiteral("The manual ") + path + QStringLiteral(" cannot be read.\n") +
                    read.error +
                    QStringLiteral("\nThe manual delivered with the program is shown instead.");
        m.rtf = delivered;
        return m;
    }
    m.rtf = std::move(read.bytes);
    return m;
}

bool fillDocumentFromRtf(QTextDocument& document, const QByteArray& rtf) {
    document.clear();
    DocumentSink sink(document);
    return RtfReader::read(rtf, sink);
}

QString manualTooDeepWarning() {
    return QStringLiteral("The manual nests its groups deeper than %1 levels, which no "
                          "manual does; it is shown up to there.")
        .arg(RtfReader::maxNesting);
}

} // namespace zt
