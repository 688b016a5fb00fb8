#include "app/SettingsStore.h"

#include "app/TextFormat.h"

#include <QFile>
#include <QSaveFile>
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

QString escapeValue(const QString& text) {
    QString out;
    for (QChar c : text) {
        if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else
            out += c;
    }
    return out;
}

QString unescapeValue(const QString& text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\\') && i + 1 < text.size()) {
            const QChar n = text[++i];
            out += n == QLatin1Char('n')   ? QLatin1Char('\n')
                   : n == QLatin1Char('r') ? QLatin1Char('\r')
                                           : n;
        } else {
            out += text[i];
        }
    }
    return out;
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

void FileSettingsStore::load() {
    QFile f(path_);
    if (!f.open(QIODevice::ReadOnly))
        return;
    bool inSection = false;
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.startsWith(QLatin1Char('['))) {
            inSection = line.compare(QStringLiteral("[Settings]"), Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (!inSection || eq <= 0)
            continue;
        MemorySettingsStore::write(line.left(eq), unescapeValue(line.mid(eq + 1)));
    }
}

bool FileSettingsStore::save() {
    QSaveFile f(path_);
    if (!f.open(QIODevice::WriteOnly))
        return failed(f.errorString());
    QString text = QStringLiteral("; zt05\n[Settings]\n");
    for (const Entry& e : entries_)
        text += e.key + QLatin1Char('=') + escapeValue(e.value) + QLatin1Char('\n');
    f.write(text.toUtf8());
    if (!f.commit())
        return failed(f.errorString());
    failing_ = false;
    return true;
}

bool FileSettingsStore::failed(const QString& reason) {
    // Told once until a write succeeds again: every change of a setting
    // would otherwise repeat the same message.
    if (!failing_ && onError_)
        onError_(path_ + QStringLiteral(": ") + reason);
    failing_ = true;
    return false;
}

bool FileSettingsStore::write(const QString& key, const QString& text) {
    MemorySettingsStore::write(key, text);
    return save();
}

} // namespace zt
