#include "logs/VideoLog.h"

#include "app/FileAccess.h"
#include "app/FileUtils.h"
#include "app/TextFormat.h"
#include "app/TextLines.h"

namespace zt {

bool isClipLine(const QString& line) {
    return line.endsWith(QLatin1String("avi"));
}

bool isPictureLine(const QString& line) {
    return line.endsWith(QLatin1String("bmp")) || line.endsWith(QLatin1String("gif")) ||
           line.endsWith(QLatin1String("jpg"));
}

std::optional<QStringList> readLogLines(const QString& path, LogLines kind) {
    const auto bytes = readFileBytes(path, readLimit::text);
    if (!bytes)
        return std::nullopt;
    return logLinesOf(*bytes, kind);
}

QStringList logLinesOf(const QByteArray& bytes, LogLines kind) {
    const QStringList lines = linesOfText(textOfAppendedFile(bytes));
    QStringList kept;
    for (const QString& line : lines)
        if (kind == LogLines::Clips ? isClipLine(line) : isPictureLine(line))
            kept << line;
    return kept;
}

QString pathOfLogLine(const QString& line) {
    const qsizetype at = line.indexOf(QLatin1String("File:"));
    if (at < 0)
        return {};
    return line.mid(at + 6);
}

int longestEntryIndex(const QStringList& entries) {
    int best = -1;
    for (int i = 0; i < entries.size(); ++i)
        if (best < 0 || entries[i].size() > entries[best].size())
            best = i;
    return best;
}

} // namespace zt
