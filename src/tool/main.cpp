// zentrak-tool: the headless companion for support staff and scripts.

#include "tool/Commands.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    const zt::tool::Output out = zt::tool::run(args);
    std::fputs(out.out.toLocal8Bit().constData(), stdout);
    std::fputs(out.err.toLocal8Bit().constData(), stderr);
    return out.exitCode;
}
