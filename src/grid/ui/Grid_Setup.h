#pragma once
// The grid setup screen: the value boxes of the active grid, its file name
// and description, the grid button, the state icon, the lock box and the
// "&Save" / "&Load File" commands.

#include "grid/GridSetupView.h"

#include <QMainWindow>
#include <array>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zt {

class App;

class Grid_Setup : public QMainWindow, public GridSetupView {
    Q_OBJECT
public:
    explicit Grid_Setup(App& app);

    // Surveyed buoys ("input") and their picture positions ("auto").
    QLineEdit *ul_survey_x, *ul_survey_y, *ur_survey_x, *ur_survey_y, *ll_survey_x, *ll_survey_y,
        *lr_survey_x, *lr_survey_y;
    QLineEdit *upper_left_x, *upper_left_y, *upper_right_x, *upper_right_y, *lower_left_x,
        *lower_left_y, *lower_right_x, *lower_right_y;
    QLineEdit *jump_x, *jump_y, *txtCheckX, *txtCheckY, *txtCheckXpix, *txtCheckYpix;
    QLineEdit *ipt_file_description, *ipt_file_description_2, *txtPicWidth, *txtPicHeight;
    QCheckBox* chkboxGridLock;
    QLabel* gridLockedLabel;
    QPushButton* grid_select;
    QLabel* grid_state_icon;
    QPushButton* btnAccuracyCheck;
    QGroupBox* fmAccuracyDisplay;
    QAction* gridLoad;
    QAction* gridSave;
    QAction* gridExit; // "E&xit"

    // Markers on the picture (twips).
    double ulMarkX = 0, ulMarkY = 0, urMarkX = 0, urMarkY = 0, llMarkX = 0, llMarkY = 0,
           lrMarkX = 0, lrMarkY = 0;

    // State icon: "face02.ico" when ready, "msgbox03.ico" otherwise.
    void showStateIcon(bool ready);

    // GridSetupView.
    void hideGridLockedLabel() override;
    void unlockGrid() override;
    void setGridButtonCaption(const QString& caption) override;
    QString fileNameText() const override;
    void setFileNameText(const QString& text) override;
    QString descriptionText() const override;
    void setDescriptionText(const QString& text) override;
    GridBoxTexts boxTexts() const override;
    void setBoxTexts(const GridBoxTexts& boxes) override;
    void setMarkersFromState() override;
    void clearDrawing() override;
    void gridCheck() override;
    void showGridReady() override;
    void showGridNotReady() override;

public slots:
    void gridSave_Click();
    void gridLoad_Click();
    void gridExit_Click();

protected:
    // Closing the window leaves the screen as "E&xit" does.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildBoxes();
    void buildMenus();
    // Boxes of buoy i (1 upper right, 2 lower right, 3 upper left, 4 lower left).
    std::array<QLineEdit*, 4> boxesOf(int buoy) const;

    App& app_;
};

} // namespace zt
