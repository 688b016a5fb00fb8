#pragma once

#include <QString>
#include <QStringList>

namespace zt {

struct CommandLine {
    QString appDir;      // empty: the platform's default
    QString exchangeDir; // empty: derived from the application folder
    bool testCamera = false;
    bool demo = false; // --demo: the demo lake's camera, first
    bool help = false;
    QString error; // non-empty when the arguments could not be read
};

// zentrak [--app-dir DIR] [--exchange-dir DIR] [--test-camera] [--demo]
CommandLine parseCommandLine(const QStringList& arguments);
QString commandLineUsage();

} // namespace zt
