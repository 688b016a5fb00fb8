// zentrak: measures water-ski jump distances from video.

#include "app/AppFolderLock.h"
#include "app/CommandLine.h"
#include "app/Paths.h"
#include "app/Services.h"
#include "app/ui/App.h"
#include "app/ui/QtDialogs.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <csignal>
#include <cstdio>

int main(int argc, char* argv[]) {
#ifdef SIGXFSZ
    // A clip that reaches a file size limit stops with "the disk is full";
    // the program must not end with it.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zentrak"));
    QApplication::setOrganizationName(QStringLiteral("Zentrak"));
    Q_INIT_RESOURCE(resources);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/zentrak-128.png")));

    const zt::CommandLine cl = zt::parseCommandLine(QApplication::arguments());
    if (cl.help || !cl.error.isEmpty()) {
        if (!cl.error.isEmpty())
            std::fprintf(stderr, "zentrak: %s\n", qPrintable(cl.error));
        std::fputs(qPrintable(zt::commandLineUsage()), cl.help ? stdout : stderr);
        return cl.help ? 0 : 2;
    }

    zt::Services services;
    services.paths = zt::Paths::defaults();
    if (!cl.appDir.isEmpty()) {
        QDir().mkpath(cl.appDir);
        services.paths.appDir = QDir(cl.appDir).absolutePath();
        services.paths.exchangeDir = zt::Paths::exchangeDirFor(services.paths.appDir);
        services.paths.settingsFile = services.paths.inApp(QStringLiteral("zt05-settings.ini"));
    }
    if (!cl.exchangeDir.isEmpty())
        services.paths.exchangeDir = QDir(cl.exchangeDir).absolutePath();
    services.dialogs = std::make_unique<zt::QtDialogs>();
    // Before anything is read or written there: the settings are read once
    // and rewritten from that copy, so a second program would undo the
    // first one's changes.
    zt::AppFolderLock folderLock(services.paths.appDir);
    if (!zt::lockAppFolder(folderLock, *services.dialogs))
        return 1;
    auto settings = std::make_unique<zt::FileSettingsStore>(services.paths.settingsFile);
    zt::Dialogs* dialogs = services.dialogs.get();
    settings->setErrorHandler([dialogs](const QString& what) {
        dialogs->warn(QStringLiteral("The setting could not be saved: ") + what);
    });
    services.settings = std::move(settings);
    services.clock = std::make_unique<zt::SystemClock>();
    services.testCamera = cl.testCamera;
    services.demoLake = cl.testCamera;
    services.demo = cl.demo;

    zt::App app(std::move(services));
    app.start();
    return QApplication::exec();
}
