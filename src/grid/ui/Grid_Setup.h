#pragma once
// The grid setup screen: a still picture of the camera view, the surveyed
// buoys, jump point and check buoy typed into boxes, the buoys marked on
// the picture with the mouse and refined pixel by pixel, Complete (the
// checks of a setup), the accuracy check with its labels and map, grid
// switching, saving and loading. The work itself is in grid/SetupValidation,
// grid/GridSetupLogic, grid/AccuracyCheck and grid/GridSaveLoad.

#include "grid/AccuracyCheck.h"
#include "grid/GridSetupLogic.h"
#include "grid/GridSetupView.h"
#include "grid/SetupValidation.h"

#include <QMainWindow>
#include <array>
#include <optional>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTimer;
class QToolButton;

namespace zt {

class AppContext;
class KeyState;
class PictureCanvas;

class Grid_Setup : public QMainWindow, public GridSetupView {
    Q_OBJECT
public:
    explicit Grid_Setup(AppContext& app);
    ~Grid_Setup() override;

    // Surveyed buoys ("input") and their picture positions ("auto").
    QLineEdit *ul_survey_x, *ul_survey_y, *ur_survey_x, *ur_survey_y, *ll_survey_x, *ll_survey_y,
        *lr_survey_x, *lr_survey_y;
    QLineEdit *upper_left_x, *upper_left_y, *upper_right_x, *upper_right_y, *lower_left_x,
        *lower_left_y, *lower_right_x, *lower_right_y;
    QLineEdit *jump_x, *jump_y, *txtCheckX, *txtCheckY, *txtCheckXpix, *txtCheckYpix;
    QLineEdit *ipt_file_description, *ipt_file_description_2, *txtPicWidth, *txtPicHeight;
    QGroupBox* fmPointSelection; // "Grid Point Selection"
    QRadioButton *upper_left_button, *upper_right_button, *lower_left_button, *lower_right_button,
        *optCheckBuoy;
    QCheckBox* chkboxGridLock;
    QPushButton* grid_select;
    QLabel* grid_state_icon;
    QPushButton* Load;           // "Complete"
    QPushButton* show_alignment; // "Draw Buoys"
    QPushButton* btnAccuracyCheck;
    QGroupBox* fmAccuracyDisplay; // "Accuracy ": the mode
    QRadioButton *optStandardAccuracy, *optAdvancedAccuracy;
    QGroupBox* fmAccuracyConfig; // "Display": what the labels show
    QRadioButton *optDisplayDistance, *optDetailMeasurement, *optHomolgationLevel;
    QCheckBox* chkAccuracyMap; // "Show accuracy map"
    QScrollBar* Setup_Cross_size;
    QToolButton *AdjustUp, *AdjustDown, *AdjustLeft, *AdjustRight;
    QTimer* keyTimer;
    QLabel *lblCB, *gridLockedLabel, *lblGridDragIt, *CrossSizeLabel, *AdjustmentLabel;
    std::array<QLabel*, 11> LineLabel{};
    std::array<QLabel*, 51> AccuracyIndicator{};
    QMenu* mnuSetupPicture;
    QAction *mnuLoadPicture, *mnuClearPicture, *mnuPaste, *mnuMeasurePic;
    QAction* mnuFindBuoys = nullptr;
    QAction* gridLoad;
    QAction* gridSave;
    QAction* mnuCalibrate;
    QAction* gridExit; // "E&xit"

    // Markers of the four buoys on the picture (twips); the check buoy's is
    // the working state's checkMarkX/Y. The last mouse-down, and the radius
    // of the markers as last drawn.
    double ulMarkX = 0, ulMarkY = 0, urMarkX = 0, urMarkY = 0, llMarkX = 0, llMarkY = 0,
           lrMarkX = 0, lrMarkY = 0;
    double clickX = 0, clickY = 0;
    double markerRadius = 0;

    PictureCanvas& canvas() const { return *canvas_; }
    // The point options' choice; nullopt when none is selected.
    std::optional<SetupPoint> selectedPoint() const;
    // The five markers together.
    SetupMarks marks() const;
    double markerSize() const;
    const SetupRatios& setupRatios() const { return ratios_; }
    // The last accuracy check, while no edit has cleared it.
    const std::optional<AccuracyResult>& accuracy() const { return accuracy_; }
    // Source of the arrow keys polled by keyTimer (the application's by default).
    void setKeyState(KeyState& keys) { keys_ = &keys; }

    // State icon: "face02.ico" when ready, "msgbox03.ico" otherwise.
    void showStateIcon(bool ready);

    // GridSetupView.
    void hideGridLockedLabel() override;
    void drawCalibrationLine(const CalibrationSegment& line, bool erase) override;
    void unlockGrid() override;
    void setGridButtonCaption(const QString& caption) override;
    QString fileNameText() const override;
    void setFileNameText(const QString& text) override;
    QString descriptionText() const override;
    void setDescriptionText(const QString& text) override;
    GridBoxTexts boxTexts() const override;
    QImage setupPicture() const override;
    void setBoxTexts(const GridBoxTexts& boxes) override;
    void setMarkersFromState() override;
    void clearDrawing() override;
    void gridCheck() override;
    void showGridReady() override;
    void showGridNotReady() override;

public slots:
    void Form_Activate();
    void Form_MouseDown(double x, double y);
    void AdjustUp_Click();
    void AdjustDown_Click();
    void AdjustLeft_Click();
    void AdjustRight_Click();
    void keyTimer_Timer();
    void pointOption_Click();
    void chkboxGridLock_Click();
    void Setup_Cross_size_Change();
    void Show_grid();
    void show_alignment_Click();
    void Load_Click();
    void grid_select_Click();
    void btnAccuracyCheck_Click();
    void optStandardAccuracy_Click();
    void optAdvancedAccuracy_Click();
    void chkAccuracyMap_Click();
    void clear_accuracy_indicator();
    void mnuLoadPicture_Click();
    void mnuClearPicture_Click();
    void mnuPaste_Click();
    void mnuMeasurePic_Click();
    void mnuFindBuoys_Click();
    void mnuCalibrate_Click();
    void gridSave_Click();
    void gridLoad_Click();
    void gridExit_Click();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Closing the window leaves the screen as "E&xit" does.
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    // A press on a tool group handle: the group stays where the operator puts it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Building (Grid_SetupLayout.cpp).
    void buildControls();
    QWidget* buildPanel();
    QWidget* buildBoxes(QWidget* parent);
    QWidget* buildPointOptions(QWidget* parent);
    QWidget* buildAccuracyControls(QWidget* parent);
    void buildToolGroups();
    void buildAccuracyLabels();
    void buildMenus();
    void connectHandlers();
    void placeToolGroups();

    // Boxes of buoy i (1 upper right, 2 lower right, 3 upper left, 4 lower left).
    std::array<QLineEdit*, 4> boxesOf(int buoy) const;
    QLineEdit* screenBoxX(SetupPoint p) const;
    QLineEdit* screenBoxY(SetupPoint p) const;
    // An edit of a value box or a moved marker.
    void valueEdited(SetupBox box, int buoy, const QString& text);
    void noteEdit();
    void setMarks(const SetupMarks& marks);
    void movePoints(const std::vector<MarkMove>& moves);
    void stepPoint(SetupStep step);
    void drawShapes(const std::vector<OverlayShape>& shapes, const QColor& color);
    QColor gridDrawColor() const;
    ValidationEnv validationEnv();
    void appendSetupRecord();
    // The set-up record and grid_check, where Complete stops short.
    void appendCompleteRecord();
    void showCheckBuoyPrediction(const CompleteCheck& check);
    void leaveScreen();
    void showActiveGrid();
    bool setPictureFrom(const QImage& picture);
    // Reads the picture whole; a picture that cannot be is told and the
    // one shown stays.
    void loadPictureFile(const QString& path);
    SetupPicture setupPictureSize() const;

    // Accuracy (Grid_SetupAccuracy.cpp).
    AccuracyDisplay accuracyDisplay() const;
    AccuracyHeader accuracyHeader() const;
    bool writeAccuracyFile(const AccuracyResult& result);
    void showAccuracyLabels(const AccuracyResult& result);
    void askSkierPathLine(const AccuracyResult& result);
    void updateAccuracyMap();

    AppContext& app_;
    KeyState* keys_ = nullptr;
    PictureCanvas* canvas_ = nullptr;
    SetupRatios ratios_;
    std::optional<AccuracyResult> accuracy_;
    int shownGrid_ = 1;         // the grid the boxes show
    bool toolsDragged_ = false; // the operator moved a tool group
};

} // namespace zt
