#pragma once
// The main screen: the hub from which the operator reaches every screen.
// Its load is the start-up of the whole program.

#include "app/MainScreenView.h"

#include <QMainWindow>
#include <array>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTextEdit;

namespace zt {

class App;
class CapturePanel;

class MainForm : public QMainWindow, public MainScreenView {
    Q_OBJECT
public:
    explicit MainForm(App& app);

    QGroupBox* Frame1;
    QPushButton* cmdGoCapture;
    QPushButton* cmdGoTimer;
    QPushButton* ccmdGoToMeasure;
    QPushButton* cmdSetup;
    QPushButton* cmdConfigure;
    QPushButton* cmdImport;
    QPushButton* btnChangeDirectory;
    QLineEdit* txtVideoDir;
    QLabel* lblVideodir;
    QLabel* Label2;
    QLabel* lblConfig;
    QCheckBox* cb15;
    QLabel* lblGrid1;
    QLabel* lblGrid2;
    QLabel* lblGrid3;
    QLabel* ImageGrid1;
    QLabel* ImageGrid2;
    QLabel* ImageGrid3;
    std::array<QLineEdit*, 3> txtGridDescription;
    QListWidget* List1;
    QTextEdit* RichTextBox1;
    QPushButton* cmdShowConfig;
    CapturePanel* capturePanel; // the capture device controls
    QAction* mnuViewLog;
    QAction* mnuPictureLog;
    QAction* munManual;
    QAction* mnuExit;

    // MainScreenView.
    void showGridIndicator(int g, bool visible) override;
    void showGridState(int g, bool ready) override;
    void setGridDescription(int g, const QString& text) override;
    QString videoFolderText() const override;
    bool barefootTimingOn() const override;

public slots:
    // The start-up sequence.
    void Form_Load();

    void cmdGoCapture_Click();
    void cmdGoTimer_Click();
    void ccmdGoToMeasure_Click();
    void cmdSetup_Click();
    void cmdConfigure_Click();
    void cmdImport_Click();
    void btnChangeDirectory_Click();
    void txtVideoDir_Change();
    void mnuViewLog_Click();
    void mnuPictureLog_Click();
    void munManual_Click();
    void mnuExit_Click();
    void cb15_Click();
    void cmdShowConfig_Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    QWidget* buildGridIndicators(QWidget* parent);
    void connectHandlers();
    void obtainVideoFolder();
    void openVideoLog();
    bool videoFolderExists();

    App& app_;
    bool videoConfigShown_ = false; // the capture device panel is shown
};

} // namespace zt
