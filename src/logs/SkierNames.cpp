#include "logs/SkierNames.h"

#include "app/FileAccess.h"
#include "app/FileUtils.h"
#include "app/Startup.h"
#include "app/TextFormat.h"
#include "logs/RtfReader.h"

#include <QRegularExpression>

namespace zt {

std::optional<QString> plainTextOfFile(const QString& path, QString* error) {
    const FileRead read = readRegularFile(path, readLimit::text);
    if (!read) {
        if (error)
            *error = read.error;
        return std::nullopt;
    }
    bool complete = true;
    QString text = plainTextOfBytes(read.bytes, &complete);
    if (!complete) {
        if (error)
            *error = path + QStringLiteral(" nests its groups deeper than %1 levels")
                                .arg(RtfReader::maxNesting);
        return std::nullopt;
    }
    return text;
}

QString plainTextOfBytes(const QByteArray& bytes, bool* complete) {
    QString text =
        RtfReader::isRtf(bytes) ? RtfReader::toPlainText(bytes, complete) : textOfFileBytes(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString firstLineOf(const QString& path) {
    const auto bytes = readFileBytes(path, readLimit::text);
    if (!bytes)
        return {};
    QString text = textOfFileBytes(*bytes);
    const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    return end < 0 ? text : text.left(end);
}

QStringList skierListEntries(const QString& text) {
    QStringList entries;
    for (const QString& line : linesOfText(text))
        if (!line.isEmpty())
            entries << safeSkierName(line);
    return entries;
}

SkierImportResult importSkierNames(const QString& source, const QString& target) {
    SkierImportResult result;
    const auto text = plainTextOfFile(source, &result.error);
    if (!text)
        return result;
    QString lines = *text;
    lines.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    const FileResult written = replaceText(target, lines);
    if (!written) {
        result.error = written.error;
        return result;
    }
    result.ok = true;
    result.firstName = safeSkierName(firstLineOf(target));
    return result;
}

} // namespace zt
