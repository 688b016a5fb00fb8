#pragma once
// The measure screen.

#include <QMainWindow>

class QAction;
class QComboBox;
class QLineEdit;

namespace zt {

class App;

class Measure : public QMainWindow {
    Q_OBJECT
public:
    explicit Measure(App& app);

    QComboBox* Skier_name;
    QLineEdit* Jump_no;
    QLineEdit* grid_description;
    QLineEdit* gif_file_name;
    QAction* Exit; // "E&xit"

public slots:
    void Exit_Click();

private:
    App& app_;
};

} // namespace zt
