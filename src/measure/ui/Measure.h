#pragma once
// The measure screen.

#include <QMainWindow>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

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
    // Set by the configuration: the tournament type indicator, the verify
    // mode label, and the controls whose text takes the message colour.
    QLineEdit* barefoot_indicator;
    QLabel* UnofficialJump;
    QRadioButton *optJumpOK, *Fall, *Pass, *O_reride, *M_Reride, *Other_Grid, *Make_comment;
    QLabel *FrozenSign, *IWSFlabel, *AWSAlabel, *AdjustmentLabel, *CrossLabel, *maxbuoy, *maxbuoym,
        *minbuoy, *minbuoym;
    QAction* Exit; // "E&xit"

public slots:
    void Exit_Click();

private:
    App& app_;
};

} // namespace zt
