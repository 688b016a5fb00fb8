#pragma once
// The measure screen: one still picture of the landing area with the active
// grid drawn over it. The operator clicks the landing point, nudges the
// mark, records the jump (or a fall, pass, other-grid entry, reride or
// comment), and moves on to the next jump. The work itself is in
// measure/MeasureLogic; this class shows it.

#include "measure/MeasureLogic.h"
#include "measure/MeasureView.h"
#include "measure/Pictures.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTimer;
class QToolButton;

namespace zt {

class AppContext;
class KeyState;
class LoupeWindow;
class MeasurePictures;
class PictureCanvas;

class Measure : public QMainWindow, public MeasureView {
    Q_OBJECT
public:
    explicit Measure(AppContext& app, QWidget* parent = nullptr);
    ~Measure() override;

    // Controls, named as the operators and the other screens know them.
    QLineEdit* distance = nullptr;
    QLabel* IWSFlabel = nullptr;
    QLineEdit* distance_ft = nullptr;
    QLabel* AWSAlabel = nullptr;
    QComboBox* Skier_name = nullptr;
    QLineEdit* Jump_no = nullptr;
    QPushButton* Set_grid = nullptr;
    QPushButton* Show_grid = nullptr;
    QPushButton* Unfreeze = nullptr;
    QPushButton* Record = nullptr;
    QGroupBox* Frame1 = nullptr;
    QRadioButton* optJumpOK = nullptr;
    QRadioButton* Pass = nullptr;
    QRadioButton* Fall = nullptr;
    QRadioButton* O_reride = nullptr;
    QRadioButton* M_Reride = nullptr;
    QRadioButton* Other_Grid = nullptr;
    QRadioButton* Make_comment = nullptr;
    QLineEdit* Comment = nullptr;
    QPushButton* verify = nullptr;
    QLabel* UnofficialJump = nullptr;
    QLabel* cameraMoved = nullptr; // the camera-moved guard's warning
    QLineEdit* xtwips = nullptr;
    QLineEdit* ytwips = nullptr;
    QLineEdit* xposition = nullptr;
    QLineEdit* yposition = nullptr;
    QLineEdit* VerifyDistance = nullptr;
    QScrollBar* CrossSize = nullptr;
    QLabel* CrossLabel = nullptr;
    QToolButton* btnLoupe = nullptr; // beside the cross size; the L key too
    QToolButton* AdjustUp = nullptr;
    QToolButton* AdjustDown = nullptr;
    QToolButton* AdjustLeft = nullptr;
    QToolButton* AdjustRight = nullptr;
    QLabel* AdjustmentLabel = nullptr;
    QLabel* maxbuoy = nullptr;
    QLabel* minbuoy = nullptr;
    QLabel* maxbuoym = nullptr;
    QLabel* minbuoym = nullptr;
    QLineEdit* grid_description = nullptr;
    QLabel* gridlabel = nullptr;
    QLabel* FrozenSign = nullptr;
    QLineEdit* barefoot_indicator = nullptr;
    QTimer* keyTimer = nullptr;
    QTimer* loadTimer = nullptr;
    QCheckBox* cbAutoLoadClipboard = nullptr;
    QPushButton* ClipSnapShot = nullptr;
    QPushButton* ImgSnapShot = nullptr;
    QLineEdit* gif_file_name = nullptr;
    QPushButton* btnNextJump = nullptr;
    QAction* SavePict = nullptr;
    QAction* LoadPict = nullptr;
    QAction* mnuPaste = nullptr;
    QAction* mnuResults = nullptr;
    QAction* mnuCalibrate = nullptr;
    QAction* mnuCapture = nullptr;
    QAction* mnuViewLog = nullptr;
    QAction* Exit = nullptr;

    PictureCanvas& canvas() const { return *canvas_; }
    // The three mark lines as line objects of the canvas.
    int lineHorizontalImpact() const { return lineHorizontal_; }
    int lineVerticalImpact() const { return lineVertical_; }
    int lineSplashIndicator() const { return lineSplash_; }

    const MarkState& mark() const { return mark_; }
    const QString& lastDistanceText() const { return lastDistanceText_; }
    bool pictureFrozen() const { return pictureFrozen_; }
    void setPictureFrozen(bool frozen) { pictureFrozen_ = frozen; }
    bool verifyMode() const { return verifyMode_; }
    // Distances in feet to tenths (the tournament-type indicator is shown).
    bool feetToTenths() const { return feetToTenths_; }

    // MeasureView.
    void setSkierNames(const QStringList& names) override;
    void setGridDescription(const QString& text) override;
    void showTournamentIndicator(const QString& text, bool visible) override;
    void applyMessageColor(std::optional<long> rgb) override;
    void hideUnofficialJump() override;
    void showGridGeometry() override;
    void drawCalibrationLine(const CalibrationSegment& line, bool erase) override;
    bool showLoggedPicture(const QString& path) override;

    // The picture on the screen and where it came from.
    const ShownPicture& shownPicture() const;
    void setSkierName(const QString& skierName) override;
    void setJumpNumber(const QString& jumpNumber) override;

    // Source of the arrow keys polled by keyTimer (the application's by
    // default).
    void setKeyState(KeyState& keys) { keys_ = &keys; }

    // The controls as MeasureFields, and back.
    MeasureFields fields() const;
    void showFields(const MeasureFields& f);
    // Runs a change of the fields' logic on what the screen shows.
    void changeFields(const std::function<void(MeasureFields&)>& change);

public slots:
    void Form_Activate();
    void Form_GotFocus();
    void Form_LostFocus();
    void Form_MouseDown(double x, double y);
    void Form_MouseMove(double x, double y);
    void DrawImpactMark();
    void show_the_grid();

    void AdjustUp_Click();
    void AdjustDown_Click();
    void AdjustLeft_Click();
    void AdjustRight_Click();
    void keyTimer_Timer();

    void Set_grid_Click();
    void Show_grid_Click();
    void verify_Click();
    void Unfreeze_Click();
    void Skier_name_Change();

    void Record_Click();
    void Fall_Click();
    void Pass_Click();
    void Other_Grid_Click();
    void M_Reride_Click();
    void O_reride_Click();
    void Make_comment_Click();

    void Exit_Click();
    void mnuCapture_Click();
    void btnNextJump_Click();

    // Pictures.
    void LoadPict_Click();
    void SavePict_Click();
    void mnuPaste_Click();
    void ClipSnapShot_Click();
    void ImgSnapShot_Click();
    void cbAutoLoadClipboard_Click();
    void loadTimer_Timer();

    // The magnifier at the mouse (the built-in loupe, 4x), or closed when
    // it is open.
    void btnLoupe_Click();
    LoupeWindow* loupe() const;

protected:
    // The picture-saving policy, applied before the screen is left by
    // "Exit" or "Capture Next Jump"; false when the operator stays.
    bool applyPictureSavingPolicy(LeaveBy by);

    void showEvent(QShowEvent* event) override;
    // Closing the window leaves the screen as "E&xit" does.
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    QWidget* buildPanel();
    void buildFloatingGroups();
    void buildViewTools();
    // The handed-over frame, the title naming its clip and frame.
    void showHandedOverFrame();
    void buildMenus();
    void connectHandlers();
    void formLoad();
    void nudge(NudgeDirection direction);
    bool drawMarkAt(double x, double y);
    void showMarkLines(const ImpactMarkLines& lines);
    void showArrows(bool visible);
    void showReadout(const std::optional<LiveReadout>& readout);
    void showBuoyLabels(const GridOverlay& overlay);
    void setRadio(QRadioButton* button, bool on);
    // False when the picture-saving policy keeps the operator here.
    bool leaveScreen(LeaveBy by);
    MeasureEnvironment environment();
    // The control named in the message colour list.
    DistanceOptions distanceOptions() const;
    // The frame handed over against the active grid's patches.
    void checkCamera(int grid);

    AppContext& app_;
    KeyState* keys_ = nullptr;
    PictureCanvas* canvas_ = nullptr;
    std::unique_ptr<MeasurePictures> pictures_;
    QButtonGroup* resultGroup_ = nullptr;
    QButtonGroup* extraGroup_ = nullptr;
    int lineHorizontal_ = -1, lineVertical_ = -1, lineSplash_ = -1;
    MarkState mark_;
    QString lastDistanceText_;
    bool pictureFrozen_ = false;
    bool verifyMode_ = false;
    bool feetToTenths_ = false;
    bool commentVisible_ = true;
    QPointer<LoupeWindow> loupe_;
};

} // namespace zt
