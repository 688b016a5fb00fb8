#include "app/SettingsStore.h"

#include "app/FileAccess.h"
#include "app/FileUtils.h"
#include "app/TextFormat.h"

#include <QFile>
#include <QRegularExpression>
#include <cmath>

namespace zt {

namespace {

bool isWholeText(const QString& text, long long* value) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    *value = toWholeNumber(v);
    return true;
}

// The file holds one "key=value" line per setting; the value is the text
// after the first "=" up to the line end, exactly as written (backslashes,
// "=", quotes and trailing spaces are plain text), so a path typed into the
// file by hand reads as typed. A line break cannot be part of a value.
const QString fileHeader =
    QStringLiteral("; zt05 settings: each value is the text after = up to the line end\n");

// The earlier form of the file started with this line and doubled every
// backslash of a value (a line break was written as \n or \r).
const QString earlierHeader = QStringLiteral("; zt05");

// A value of the earlier form. That form never wrote a single backslash
// (nor \n or \r, as no value held a line break), so a value whose
// backslashes do not all come in pairs was typed into the file by hand and
// stands as written.
QString earlierFormValue(const QString& text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\\')) {
            out += text[i];
            continue;
        }
        if (i + 1 >= text.size() || text[i + 1] != QLatin1Char('\\'))
            return text;
        out += text[i++];
    }
    return out;
}

bool holdsLineBreak(const QString& text) {
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

// Why key and text cannot be one line of the file; empty when they can.
QString unstorable(const QString& key, const QString& text) {
    if (holdsLineBreak(text))
        return QStringLiteral("the value of \"") + key +
               QStringLiteral("\" holds a line break, which the settings file cannot keep; "
                              "it was not stored");
    if (key.trimmed().isEmpty() || key.trimmed() != key || key.contains(QLatin1Char('=')) ||
        holdsLineBreak(key) || key.startsWith(QLatin1Char('[')) || key.startsWith(QLatin1Char(';')))
        return QStringLiteral("\"") + key +
               QStringLiteral("\" cannot be a key of the settings file; it was not stored");
    return QString();
}

} // namespace

long long SettingsStore::readWhole(const QString& key, long long defaultValue) const {
    long long v = 0;
    if (!contains(key) || !isWholeText(read(key), &v))
        return defaultValue;
    return v;
}

double SettingsStore::readDouble(const QString& key, double defaultValue) const {
    if (!contains(key))
        return defaultValue;
    bool ok = false;
    const double v = read(key).trimmed().toDouble(&ok);
    return ok && std::isfinite(v) ? v : defaultValue;
}

bool SettingsStore::readFlag(const QString& key, bool defaultValue) const {
    if (!contains(key))
        return defaultValue;
    const QString t = read(key).trimmed();
    if (t.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double v = t.toDouble(&ok);
    return ok ? v != 0 : defaultValue;
}

bool SettingsStore::writeWhole(const QString& key, long long value) {
    return write(key, QString::number(value));
}

bool SettingsStore::writeDouble(const QString& key, double value) {
    return write(key, numberText(value));
}

bool SettingsStore::writeFlag(const QString& key, bool value) {
    return write(key, value ? QStringLiteral("True") : QStringLiteral("False"));
}

QString MemorySettingsStore::read(const QString& key, const QString& defaultText) const {
    const auto it = entries_.find(key.toLower());
    return it == entries_.end() ? defaultText : it->value;
}

bool MemorySettingsStore::write(const QString& key, const QString& text) {
    if (!unstorable(key, text).isEmpty())
        return false;
    Entry& e = entries_[key.toLower()];
    if (e.key.isEmpty())
        e.key = key;
    e.value = text;
    return true;
}

bool MemorySettingsStore::contains(const QString& key) const {
    return entries_.contains(key.toLower());
}

FileSettingsStore::FileSettingsStore(QString path) : path_(std::move(path)) {
    load();
}

void MemorySettingsStore::readFileText(const QByteArray& bytes) {
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    const QStringList lines = text.split(lineEnd);
    const bool earlierForm = lines.first() == earlierHeader;
    bool inSection = false;
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            inSection =
                line.trimmed().compare(QStringLiteral("[Settings]"), Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (!inSection || eq < 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1);
        if (!key.isEmpty())
            MemorySettingsStore::write(key, earlierForm ? earlierFormValue(value) : value);
    }
}

void FileSettingsStore::load() {
    const FileRead r = readRegularFile(path_, readLimit::text);
    if (!r) {
        if (!r.missing)
            loadError_ = r.error;
        return;
    }
    readFileText(r.bytes);
}

bool FileSettingsStore::save() {
    QString text = fileHeader + QStringLiteral("[Settings]\n");
    for (const Entry& e : entries_)
        text += e.key + QLatin1Char('=') + e.value + QLatin1Char('\n');
    if (const FileResult r = replaceFile(path_, text.toUtf8()); !r)
        return failed(r.error);
    failing_ = false;
    return true;
}

bool FileSettingsStore::failed(const QString& error) {
    // Told once until a write succeeds again: every change of a setting
    // would otherwise repeat the same message.
    if (!failing_ && onError_)
        onError_(error);
    failing_ = true;
    return false;
}

bool FileSettingsStore::write(const QString& key, const QString& text) {
    // Refused before anything is stored; told every time, as each refusal
    // loses a different value.
    if (const QString problem = unstorable(key, text); !problem.isEmpty()) {
        if (onError_)
            onError_(path_ + QStringLiteral(": ") + problem);
        return false;
    }
    MemorySettingsStore::write(key, text);
    return save();
}

} // namespace zt
