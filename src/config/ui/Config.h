#pragma once
// The configuration screen. Start-up ends here; leaving it shows the main
// screen.

#include <QMainWindow>

class QAction;

namespace zt {

class App;

class Config : public QMainWindow {
    Q_OBJECT
public:
    explicit Config(App& app);

    QAction* mnuExit; // "E&xit and Save Parameters"

public slots:
    void mnuExit_Click();

private:
    App& app_;
};

} // namespace zt
