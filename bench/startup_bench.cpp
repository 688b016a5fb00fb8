// Start-up time: from launch to the configuration screen, every question of
// the start-up answered at once (emergency reset declined, the video folder
// given when asked, messages acknowledged), with the test camera.
//
//   startup_bench [runs]     prints the time of QApplication creation, of
//                            the first start-up in the process and the
//                            median of later ones.

#include "app/Dialogs.h"
#include "app/SettingsStore.h"
#include "config/ui/Config.h"
#include "shell/App.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Answers every box at once: default buttons, the video folder for input boxes.
class InstantDialogs : public zt::Dialogs {
public:
    explicit InstantDialogs(QString folder) : folder_(std::move(folder)) {}
    zt::MsgAnswer message(const zt::MessageRequest& r) override {
        return zt::answerForButton(r.buttons, r.defaultButton);
    }
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return folder_;
    }
    std::optional<QString> openFile(const zt::FileDialogRequest&) override { return {}; }
    std::optional<QString> saveFile(const zt::FileDialogRequest&) override { return {}; }

private:
    QString folder_;
};

// One start-up in a fresh application folder; returns milliseconds.
double startOnce(bool storedFolder) {
    QTemporaryDir root;
    const QString app = root.filePath(QStringLiteral("app"));
    const QString video = root.filePath(QStringLiteral("video"));
    const QString ztio = root.filePath(QStringLiteral("ztio"));
    for (const QString& d : {app, video, ztio})
        QDir().mkpath(d);
    QElapsedTimer t;
    t.start();
    zt::Services s;
    s.paths.appDir = app;
    s.paths.exchangeDir = ztio;
    s.paths.settingsFile = app + QStringLiteral("/zt05-settings.ini");
    auto settings = std::make_unique<zt::FileSettingsStore>(s.paths.settingsFile);
    if (storedFolder)
        settings->write(QStringLiteral("logpath"), video);
    s.settings = std::move(settings);
    s.dialogs = std::make_unique<InstantDialogs>(video);
    s.clock = std::make_unique<zt::SystemClock>();
    s.testCamera = true;
    zt::App application(std::move(s));
    application.start();
    QApplication::processEvents(); // the configuration screen is shown
    const double ms = t.nsecsElapsed() / 1e6;
    if (!application.config().isVisible())
        std::fprintf(stderr, "the configuration screen was not reached\n");
    return ms;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    QElapsedTimer launch;
    launch.start();
    QApplication qapp(argc, argv);
    const double qappMs = launch.nsecsElapsed() / 1e6;
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;

    const double first = startOnce(false);
    std::printf("QApplication created:                 %8.2f ms\n", qappMs);
    std::printf("first start-up (fresh, folder asked): %8.2f ms\n", first);
    std::printf("launch to configuration screen:       %8.2f ms\n", launch.nsecsElapsed() / 1e6);

    std::vector<double> fresh, stored;
    for (int i = 0; i < runs; ++i) {
        fresh.push_back(startOnce(false));
        stored.push_back(startOnce(true));
    }
    std::printf("later start-ups, median of %d: fresh %.2f ms, stored folder %.2f ms\n", runs,
                median(fresh), median(stored));
    return 0;
}
