#include "support/ToolProcess.h"

#include <QProcess>

namespace zt::test {

ToolProcess runToolProcess(const QStringList& args, int timeoutMs) {
    QProcess p;
    p.start(QStringLiteral(ZENTRAK_TOOL_PATH), args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError()), p.exitCode()};
}

} // namespace zt::test
