#pragma once
// The main screen: the hub from which the operator reaches every screen.

#include <QMainWindow>

namespace zt {

class App;

class MainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit MainForm(App& app);

private:
    App& app_;
};

} // namespace zt
