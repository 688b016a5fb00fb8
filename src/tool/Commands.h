#pragma once
// The commands of zentrak-tool, as functions of their arguments so that
// they can be tested without starting a process.

#include <QString>
#include <QStringList>

namespace zt::tool {

struct Output {
    QString out;
    QString err;
    int exitCode = 0;
};

Output run(const QStringList& args);
QString usage();

} // namespace zt::tool
