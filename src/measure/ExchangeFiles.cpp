#include "measure/ExchangeFiles.h"

#include "app/FieldReader.h"
#include "app/FileAccess.h"
#include "app/Paths.h"
#include "app/TextFormat.h"

#include <QDir>
#include <QFile>

namespace zt {

std::optional<QString> firstField(const QString& text) {
    return FieldReader(text).nextField();
}

NameRead readWstimsSkierName(const QString& exchangeDir) {
    NameRead r;
    const QString path = joinPath(exchangeDir, exchange::skierNameFile);
    const FileRead read = readRegularFile(path, readLimit::flag);
    if (!read) {
        r.error = read.error;
        return r;
    }
    const auto field = nameOfNameFile(read.bytes);
    if (!field) {
        r.error = path + QStringLiteral(": the file holds no name");
        return r;
    }
    r.ok = true;
    r.name = *field;
    return r;
}

std::optional<QString> nameOfNameFile(const QByteArray& bytes) {
    // An empty first field (",,,") names nobody, as a file of blank lines.
    auto field = firstField(textOfFileBytes(bytes));
    if (field && field->trimmed().isEmpty())
        return std::nullopt;
    return field;
}

ResultKind resultKindOfComment(const QString& comment) {
    if (comment == QLatin1String("Fall"))
        return ResultKind::Fall;
    if (comment == QLatin1String("Pass"))
        return ResultKind::Pass;
    return ResultKind::Ok;
}

QString exchangeResultLine(ResultKind kind, const QString& metersText, const QString& feetText,
                           const QString& jumpNumber) {
    switch (kind) {
    case ResultKind::Fall:
        return QStringLiteral("Fall, 0, 0,") + jumpNumber;
    case ResultKind::Pass:
        return QStringLiteral("Pass, 0, 0,") + jumpNumber;
    case ResultKind::Ok:
        break;
    }
    return QStringLiteral("OK, ") + metersText + QStringLiteral(", ") + feetText +
           QStringLiteral(", ") + jumpNumber;
}

QString rawSkierName(const QString& skierName) {
    const qsizetype comma = skierName.indexOf(QLatin1Char(','));
    return comma < 0 ? skierName : skierName.left(comma);
}

QString exchangeRawLine(const QTime& time, const QString& skierName, const QString& resultLine) {
    return timeText(time) + QStringLiteral(" ,") + rawSkierName(skierName) + QLatin1Char(',') +
           resultLine;
}

FileResult writeExchangeResult(const QString& exchangeDir, const ExchangeResult& result) {
    const QString line =
        exchangeResultLine(result.kind, result.metersText, result.feetText, result.jumpNumber);
    const QString crlf = QStringLiteral("\r\n");
    if (!pathExists(exchangeDir, PathFolder))
        return FileResult::failure(exchangeDir, QStringLiteral("the exchange folder is missing"));
    if (FileResult r = replaceText(joinPath(exchangeDir, exchange::resultFile), line + crlf); !r)
        return r;
    return appendText(joinPath(exchangeDir, exchange::rawFile),
                      exchangeRawLine(result.time, result.skierName, line) + crlf);
}

QString exchangeWriteErrorMessage(const FileResult& failure) {
    return QStringLiteral("Error while writing WSTIMS result: ") + failure.error;
}

QString exchangeReadErrorMessage(const NameRead& failure) {
    return QStringLiteral("Error while reading WSTIMS name file: ") + failure.error;
}

bool clipFlagReady(const QString& exchangeDir) {
    return readClipFlag(exchangeDir).ready;
}

ClipFlagRead readClipFlag(const QString& exchangeDir) {
    const QString path = joinPath(exchangeDir, exchange::clipFlagFile);
    // A linked flag could not be reset: "Ready" would load the picture
    // again every second.
    if (nonFileKind(path) == QLatin1String("a link"))
        return {false, notAFileFailure(path, QStringLiteral("a link")).error};
    const FileRead read = readRegularFile(path, readLimit::flag);
    if (!read)
        return {false, read.missing ? QString() : read.error};
    return {clipFlagSaysReady(read.bytes), QString()};
}

bool clipFlagSaysReady(const QByteArray& bytes) {
    const auto field = firstField(textOfFileBytes(bytes));
    return field && *field == QLatin1String("Ready");
}

FileResult resetClipFlag(const QString& exchangeDir) {
    if (!pathExists(exchangeDir, PathFolder))
        return {};
    return replaceText(joinPath(exchangeDir, exchange::clipFlagFile), QStringLiteral("  \r\n"));
}

int deleteExchangePictures(const QString& exchangeDir) {
    if (exchangeDir.isEmpty())
        return 0;
    const QDir dir(exchangeDir);
    int deleted = 0;
    // Without QDir::CaseSensitive the pattern matches "*.BMP" as well, as it
    // does on the scoring system's side.
    const QStringList names = dir.entryList({QStringLiteral("*.bmp")}, QDir::Files | QDir::Hidden);
    for (const QString& name : names)
        if (QFile::remove(dir.filePath(name)))
            ++deleted;
    return deleted;
}

NameListRead readSkierNameList(const QString& path) {
    NameListRead r;
    if (path.isEmpty() || !pathExists(path, PathFile))
        return r;
    const auto bytes = readFileBytes(path, readLimit::text);
    if (!bytes)
        return r;
    r.opened = true;
    r.names = namesOfNameList(*bytes);
    return r;
}

QStringList namesOfNameList(const QByteArray& bytes) {
    // A name goes into the results line as it is: a control character or
    // a line end in a field (a quoted field over two lines, a file that is
    // no list) would cut or garble that line, so it becomes a space.
    QStringList names = allFields(textOfFileBytes(bytes));
    for (QString& name : names)
        for (QChar& c : name)
            if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
                c == QChar::ParagraphSeparator)
                c = QLatin1Char(' ');
    return names;
}

} // namespace zt
