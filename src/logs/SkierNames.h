#pragma once
// The skier names file "SkierNames.txt": imported from a plain text or RTF
// file of the operator's choice, read one skier per line.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace zt {

struct SkierImportResult {
    bool ok = false;
    QString error;     // names the file and the reason
    QString firstName; // first line of the names file, commas as spaces
};

// Converts the source (RTF or plain text) to plain text with CR LF line ends
// and replaces target with it as a whole. A source that cannot be read
// leaves the target as it was.
SkierImportResult importSkierNames(const QString& source, const QString& target);

// Text of a file as plain text: RTF converted, plain text as it is.
// Line ends become "\n". nullopt when the file cannot be read (not a
// regular file, too large, RTF nested too deeply), with *error naming it.
std::optional<QString> plainTextOfFile(const QString& path, QString* error = nullptr);
// The same of a file's bytes; *complete false when RTF nested too deeply
// to be read whole.
QString plainTextOfBytes(const QByteArray& bytes, bool* complete = nullptr);

// First line of a text file ("" when missing or empty).
QString firstLineOf(const QString& path);

// The skier list's entries from the names file's text: one per non-empty
// line, in file order, each comma shown as one space.
QStringList skierListEntries(const QString& text);

} // namespace zt
