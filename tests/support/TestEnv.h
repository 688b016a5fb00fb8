#pragma once
// A complete test set-up: temporary application, exchange and video
// folders, a settings store in memory, scripted dialogs and a fixed clock.

#include "app/Clock.h"
#include "app/Services.h"
#include "support/ScriptedDialogs.h"

#include <QTemporaryDir>
#include <functional>
#include <memory>

namespace zt {
class App;
}

namespace zt::test {

class TestEnv {
public:
    // 8 December 2026, 13:05:09 unless told otherwise.
    TestEnv();
    ~TestEnv();

    QString appDir() const { return root_.path() + QStringLiteral("/app"); }
    QString exchangeDir() const { return root_.path() + QStringLiteral("/ztio"); }
    QString videoDir() const { return root_.path() + QStringLiteral("/video"); }
    QString path(const QString& name) const { return root_.path() + QLatin1Char('/') + name; }

    ScriptedDialogs& dialogs() { return *dialogs_; }
    MemorySettingsStore& settings() { return *settings_; }
    FixedClock& clock() { return *clock_; }

    // The services before the App takes them (to offer the demo lake).
    Services& services() { return services_; }

    // Hands the services to a new App (once).
    App& app();
    Services takeServices();

private:
    QTemporaryDir root_;
    ScriptedDialogs* dialogs_ = nullptr;
    MemorySettingsStore* settings_ = nullptr;
    FixedClock* clock_ = nullptr;
    Services services_;
    std::unique_ptr<App> app_;
};

// Whole content of a file as bytes ("" when missing).
QByteArray readAll(const QString& path);
void writeAll(const QString& path, const QByteArray& bytes);

// Runs the event loop until done() holds or the time is up.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 60000);

} // namespace zt::test
