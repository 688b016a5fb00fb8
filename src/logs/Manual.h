#pragma once
// The operators' manual "ZT05Manual.rtf": the copy in the application
// folder is the one shown, so a tournament may keep its own notes in it.
// The program carries the manual it was delivered with and puts it into
// the application folder when none is there.

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace zt {

namespace manual {
inline const QString fileName = QStringLiteral("ZT05Manual.rtf");
} // namespace manual

struct ManualText {
    QByteArray rtf;      // the manual to show
    QString warning;     // for the operator: the application folder's copy is unreadable
    QString copyError;   // the delivered manual could not be put into the folder
    bool copied = false; // the delivered manual was put into the folder now
};

// The manual of appDir. A missing one is first copied there from
// delivered; when that copy fails, or the folder's copy cannot be read,
// the delivered manual is shown.
ManualText loadManual(const QString& appDir, const QByteArray& delivered);

// Fills the document from rich text: paragraphs with their indents and
// spacing, runs with bold, italic, underline and size.
// False when the manual nests too deeply to be read whole: what comes
// before stands, and the operator is told manualTooDeepWarning().
bool fillDocumentFromRtf(QTextDocument& document, const QByteArray& rtf);
QString manualTooDeepWarning();

} // namespace zt
