#pragma once
// The configuration screen. Start-up ends here; leaving it shows the main
// screen.

#include <QMainWindow>

class QAction;
class QCheckBox;

namespace zt {

class App;

class Config : public QMainWindow {
    Q_OBJECT
public:
    explicit Config(App& app);

    QCheckBox* WSTIMS;      // "WSTIMS Interface"
    QCheckBox* chkLoupe;    // "Use Screen Loupe"
    QCheckBox* chkBadSetup; // "Allow Invalid Setup"
    QAction* mnuExit;       // "E&xit and Save Parameters"

public slots:
    void mnuExit_Click();

private:
    App& app_;
};

} // namespace zt
