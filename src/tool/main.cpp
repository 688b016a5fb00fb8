// zentrak-tool: the headless companion for support staff and scripts.

#include "tool/Commands.h"

#include <QCoreApplication>
#include <QStringList>
#include <csignal>
#include <cstdio>

int main(int argc, char* argv[]) {
#ifdef SIGXFSZ
    // A recording past a file size limit ends with its reason, not a signal.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QCoreApplication app(argc, argv);
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
