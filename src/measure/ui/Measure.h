#pragma once
// The measure screen. This is the part the configuration and the grid
// setup screens reach: the skier list, the grid description box, the
// tournament type indicator and the controls whose text colour follows the
// configured message colour.

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace zt {

class App;

class Measure : public QWidget {
    Q_OBJECT
public:
    explicit Measure(App& app);

    QComboBox* Skier_name = nullptr;
    QLineEdit* grid_description = nullptr;
    QLineEdit* barefoot_indicator = nullptr;
    QLabel* UnofficialJump = nullptr;
    QRadioButton *Make_comment = nullptr, *Other_Grid = nullptr, *Fall = nullptr, *Pass = nullptr,
                 *optJumpOK = nullptr, *M_Reride = nullptr, *O_reride = nullptr;
    QLabel *FrozenSign = nullptr, *IWSFlabel = nullptr, *AWSAlabel = nullptr,
           *AdjustmentLabel = nullptr, *CrossLabel = nullptr, *maxbuoy = nullptr,
           *maxbuoym = nullptr, *minbuoy = nullptr, *minbuoym = nullptr;

private:
    App& app_;
};

} // namespace zt
