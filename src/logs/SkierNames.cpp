#include "logs/SkierNames.h"

#include "app/FileUtils.h"
#include "app/Startup.h"
#include "app/TextFormat.h"
#include "logs/RtfReader.h"

#include <QFile>
#include <QRegularExpression>

namespace zt {

std::optional<QString> plainTextOfFile(const QString& path) {
    const auto bytes = readFileBytes(path);
    if (!bytes)
        return std::nullopt;
    return plainTextOfBytes(*bytes);
}

QString plainTextOfBytes(const QByteArray& bytes) {
    QString text = RtfReader::isRtf(bytes) ? RtfReader::toPlainText(bytes) : textOfFileBytes(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString firstLineOf(const QString& path) {
    const auto bytes = readFileBytes(path);
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
    const auto text = plainTextOfFile(source);
    if (!text) {
        QFile f(source);
        f.open(QIODevice::ReadOnly);
        result.error = source + QStringLiteral(": ") + f.errorString();
        return result;
    }
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
