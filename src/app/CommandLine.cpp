#include "app/CommandLine.h"

namespace zt {

CommandLine parseCommandLine(const QStringList& arguments) {
    CommandLine cl;
    QStringList seen;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        // Twice is a mistake to point out, not a choice of the last.
        if (seen.contains(a)) {
            cl.error = a + QStringLiteral(" is given twice");
            break;
        }
        seen << a;
        auto value = [&](QString* target) {
            if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty()) {
                cl.error = a + QStringLiteral(" needs a folder");
                return;
            }
            *target = arguments[++i];
        };
        if (a == QLatin1String("--app-dir"))
            value(&cl.appDir);
        else if (a == QLatin1String("--exchange-dir"))
            value(&cl.exchangeDir);
        else if (a == QLatin1String("--test-camera"))
            cl.testCamera = true;
        else if (a == QLatin1String("--demo"))
            cl.demo = true;
        else if (a == QLatin1String("--help") || a == QLatin1String("-h"))
            cl.help = true;
        else
            cl.error = QStringLiteral("unknown argument: ") + a;
        if (!cl.error.isEmpty())
            break;
    }
    return cl;
}

QString commandLineUsage() {
    return QStringLiteral(
        "usage: zentrak [--app-dir DIR] [--exchange-dir DIR] [--test-camera] [--demo]\n"
        "  --app-dir DIR       application folder (settings, pictures, names)\n"
        "  --exchange-dir DIR  folder shared with the scoring system (ztio)\n"
        "  --test-camera       offer the built-in test camera and the demo lake's camera\n"
        "                      as capture devices\n"
        "  --demo              the demo lake's camera first and the test camera, none\n"
        "                      of the computer's (a synthetic jump course to try the\n"
        "                      whole road of a jump)\n");
}

} // namespace zt
