#pragma once
// zentrak-tool run as a process, as scripts and support staff run it: its
// exit status, its output and the files it writes are what is tested.

#include <QString>
#include <QStringList>

namespace zt::test {

struct ToolProcess {
    QString out, err;
    int exitCode = -1; // -1: it did not end in time
};

ToolProcess runToolProcess(const QStringList& args, int timeoutMs = 120000);

} // namespace zt::test
