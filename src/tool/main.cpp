// zentrak-tool: the headless companion for support staff and scripts.

#include "tool/Commands.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QStringList>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Commands that draw text need fonts, and fonts need a QGuiApplication.
bool drawsPictures(int argc, char* argv[]) {
    if (argc < 2 || std::strcmp(argv[1], "accuracy") != 0)
        return false;
    for (int i = 2; i < argc; ++i)
        if (std::strcmp(argv[i], "--png") == 0)
            return true;
    return false;
}

// Without a display the drawing runs on the offscreen platform, so the
// tool works in scripts and over ssh.
void useOffscreenWithoutDisplay() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace

int main(int argc, char* argv[]) {
#ifdef SIGXFSZ
    // A recording past a file size limit ends with its reason, not a signal.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    std::unique_ptr<QCoreApplication> app;
    if (drawsPictures(argc, argv)) {
#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
        useOffscreenWithoutDisplay();
#endif
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    if (args == QStringList{QStringLiteral("--version")}) {
        std::printf("zentrak-tool %s\n", ZENTRAK_VERSION);
        return 0;
    }
    const zt::tool::Output out = zt::tool::run(args);
    std::fputs(out.out.toLocal8Bit().constData(), stdout);
    std::fputs(out.err.toLocal8Bit().constData(), stderr);
    return out.exitCode;
}
