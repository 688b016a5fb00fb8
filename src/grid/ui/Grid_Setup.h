#pragma once
// The grid setup screen.

#include <QMainWindow>

class QAction;
class QPushButton;

namespace zt {

class App;

class Grid_Setup : public QMainWindow {
    Q_OBJECT
public:
    explicit Grid_Setup(App& app);

    QPushButton* grid_select; // "Grid 1", "Grid 2", "Grid 3"
    QAction* gridExit;        // "E&xit"

public slots:
    void gridExit_Click();

private:
    App& app_;
};

} // namespace zt
