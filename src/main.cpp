// zentrak: measures water-ski jump distances from video.

#include "app/AppFolderLock.h"
#include "app/CommandLine.h"
#include "app/Paths.h"
#include "app/Services.h"
#include "app/ui/QtDialogs.h"
#include "shell/App.h"

#include <QApplication>
#include <QIcon>
#include <csignal>
#include <cstdio>
#include <cstring>

int main(int argc, char* argv[]) {
    // Before the application object, so that it needs no display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("zentrak %s\n", ZENTRAK_VERSION);
        return 0;
    }
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
    services.dialogs = std::make_unique<zt::QtDialogs>();
    QString where;
    services.paths = zt::Paths::locate(cl.appDir, cl.exchangeDir, &where);
    if (services.paths.appDir.isEmpty()) {
        std::fprintf(stderr, "zentrak: %s\n", qPrintable(where));
        services.dialogs->error(where);
        return 1;
    }
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
    if (!settings->loadError().isEmpty())
        dialogs->warn(QStringLiteral("The settings cannot be read; the program starts with its "
                                     "defaults: ") +
                      settings->loadError());
    services.settings = std::move(settings);
    services.clock = std::make_unique<zt::SystemClock>();
    services.testCamera = cl.testCamera;
    services.demoLake = cl.testCamera;
    services.demo = cl.demo;

    zt::App app(std::move(services));
    app.start();
    return QApplication::exec();
}
