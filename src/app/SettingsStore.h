#pragma once
// The per-user settings store: application "zt05", section "Settings",
// key -> text. Keys are compared without regard to case; every write is on
// disk when the call returns.

#include "app/SettingsTable.h"

#include <QMap>
#include <QString>
#include <functional>

namespace zt {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The stored text, or defaultText when the key was never written.
    virtual QString read(const QString& key, const QString& defaultText = QString()) const = 0;
    // Stores the text; false when it could not be made durable.
    virtual bool write(const QString& key, const QString& text) = 0;
    virtual bool contains(const QString& key) const = 0;

    // Typed readers. A text that does not convert counts as missing.
    long long readWhole(const QString& key, long long defaultValue) const;
    double readDouble(const QString& key, double defaultValue) const;
    // True/False words, or a number (0 false, anything else true).
    bool readFlag(const QString& key, bool defaultValue) const;

    bool writeWhole(const QString& key, long long value);
    bool writeDouble(const QString& key, double value);
    bool writeFlag(const QString& key, bool value);

    // The keys of the settings table, each in its stored form (SettingsTable.h).
    QString get(const TextSetting& s) const;
    long long get(const WholeSetting& s) const;
    double get(const NumberSetting& s) const;
    double get(const NumberTextSetting& s) const;
    bool get(const FlagSetting& s) const;
    bool get(const CheckSetting& s) const;
    // The stored text itself, or defaultText when the key was never written.
    template <class Setting> QString text(const Setting& s, const QString& defaultText) const {
        return read(QString::fromLatin1(s.key), defaultText);
    }

    bool set(const TextSetting& s, const QString& text);
    bool set(const WholeSetting& s, long long value);
    bool set(const NumberSetting& s, double value);
    bool set(const NumberTextSetting& s, const QString& text);
    bool set(const FlagSetting& s, bool value);
    bool set(const CheckSetting& s, bool ticked);
};

// Values kept in memory only (tests).
class MemorySettingsStore : public SettingsStore {
public:
    QString read(const QString& key, const QString& defaultText = QString()) const override;
    bool write(const QString& key, const QString& text) override;
    bool contains(const QString& key) const override;

    // Takes the values of a settings file's text (the form FileSettingsStore
    // writes, or the earlier one); lines it cannot use are passed over.
    void readFileText(const QByteArray& bytes);

protected:
    struct Entry {
        QString key;
        QString value;
    };
    QMap<QString, Entry> entries_; // lower-case key -> original key and value
};

// An INI-style file with the one section [Settings] of application zt05,
// rewritten whole through a temporary file and renamed on every write.
class FileSettingsStore : public MemorySettingsStore {
public:
    explicit FileSettingsStore(QString path);

    bool write(const QString& key, const QString& text) override;
    const QString& path() const { return path_; }
    // Told when a write cannot be made durable (path and reason); once, until
    // a write succeeds again.
    void setErrorHandler(std::function<void(const QString&)> handler) {
        onError_ = std::move(handler);
    }
    // Why the settings file was there but could not be read (path and
    // reason); empty when it was read or is missing. The program then goes
    // on with the defaults.
    const QString& loadError() const { return loadError_; }

private:
    void load();
    bool save();
    bool failed(const QString& error);

    QString path_;
    QString loadError_;
    std::function<void(const QString&)> onError_;
    bool failing_ = false;
};

} // namespace zt
