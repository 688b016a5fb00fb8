#include "app/SettingsStore.h"
#include "app/TextFormat.h"

namespace zt {

namespace {

QString keyOf(const char* key) {
    return QString::fromLatin1(key);
}

} // namespace

QString SettingsStore::get(const TextSetting& s) const {
    return read(keyOf(s.key), QString::fromLatin1(s.defaultText));
}

long long SettingsStore::get(const WholeSetting& s) const {
    return readWhole(keyOf(s.key), s.defaultValue);
}

double SettingsStore::get(const NumberSetting& s) const {
    return readDouble(keyOf(s.key), s.defaultValue);
}

double SettingsStore::get(const NumberTextSetting& s) const {
    return readNumber(read(keyOf(s.key), QString::fromLatin1(s.defaultText)));
}

bool SettingsStore::get(const FlagSetting& s) const {
    return readFlag(keyOf(s.key), s.defaultValue);
}

bool SettingsStore::get(const CheckSetting& s) const {
    return read(keyOf(s.key), QStringLiteral("0")).trimmed() == QLatin1String("1");
}

bool SettingsStore::set(const TextSetting& s, const QString& text) {
    return write(keyOf(s.key), text);
}

bool SettingsStore::set(const WholeSetting& s, long long value) {
    return writeWhole(keyOf(s.key), value);
}

bool SettingsStore::set(const NumberSetting& s, double value) {
    return writeDouble(keyOf(s.key), value);
}

bool SettingsStore::set(const NumberTextSetting& s, const QString& text) {
    return write(keyOf(s.key), text);
}

bool SettingsStore::set(const FlagSetting& s, bool value) {
    return writeFlag(keyOf(s.key), value);
}

bool SettingsStore::set(const CheckSetting& s, bool ticked) {
    return write(keyOf(s.key), ticked ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace zt
