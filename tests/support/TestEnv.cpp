#include "support/TestEnv.h"

#include "shell/App.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

namespace zt::test {

TestEnv::TestEnv() {
    QDir().mkpath(appDir());
    QDir().mkpath(exchangeDir());
    QDir().mkpath(videoDir());
    services_.paths.appDir = appDir();
    services_.paths.exchangeDir = exchangeDir();
    services_.paths.settingsFile = path(QStringLiteral("settings.ini"));
    auto dialogs = std::make_unique<ScriptedDialogs>();
    auto settings = std::make_unique<MemorySettingsStore>();
    auto clock = std::make_unique<FixedClock>(QDateTime(QDate(2026, 12, 8), QTime(13, 5, 9)));
    dialogs_ = dialogs.get();
    settings_ = settings.get();
    clock_ = clock.get();
    services_.dialogs = std::move(dialogs);
    services_.settings = std::move(settings);
    services_.clock = std::move(clock);
    services_.testCamera = true;
    services_.platformCapture = false; // no test depends on the computer's devices
}

TestEnv::~TestEnv() = default;

Services TestEnv::takeServices() {
    return std::move(services_);
}

App& TestEnv::app() {
    if (!app_)
        app_ = std::make_unique<App>(takeServices());
    return *app_;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

} // namespace zt::test
