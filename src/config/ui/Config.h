#pragma once
// The configuration screen: tournament, results file, folders, skier name
// file, number of grids, jump direction, tournament type, colours, marker
// style, save policies, the scoring-system exchange and the screen loupe.
// Its load applies the stored choices through the same handlers an
// operator's click runs (so the store is normalised) and loads the
// configured grids; its exit returns to the main screen.

#include "config/ui/Loupe.h"

#include <QMainWindow>
#include <optional>

class QAbstractButton;
class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zt {

class AppContext;

class Config : public QMainWindow {
    Q_OBJECT
public:
    explicit Config(AppContext& app);
    ~Config() override;

    QLineEdit *TournamentName, *ResultsPathName, *CapturesPathName, *SetupFilesPathName,
        *SkierNameFile;
    QPushButton *btnFindResults, *btnFindNames;
    QGroupBox* gridframe;
    QRadioButton *Opt1Grid, *Opt2grid, *Opt3grid;
    QGroupBox* Jump_direction;
    QRadioButton *left_to_right_button, *right_to_left_button;
    QCheckBox *line_control_check, *Barefoot_box, *SitSki_box;
    QGroupBox* message_colors;
    QRadioButton *default_color, *white_color, *black_color, *yellow_color;
    QGroupBox* Frame4;
    QRadioButton *OptImpactRed, *OptImpactYellow, *OptImpactBlack, *OptImpactWhite;
    QGroupBox* Frame1;
    QRadioButton *OptCross, *OptCircle;
    QGroupBox* Frame3;
    QRadioButton *OptPictureAsk, *OptPictureNoSave, *OptPictureSave;
    QGroupBox* Frame2;
    QRadioButton *OptVideoAsk, *OptVideoNoSave, *OptVideoSave;
    QCheckBox* WSTIMS;
    QLabel* ZTIOLabel;
    QCheckBox* chkLoupe;
    QPushButton* cmdLoupe;
    QCheckBox* chkBadSetup;
    QAction* mnuExit;

    // The colour name stored on exit.
    const QString& colorName() const { return colorName_; }
    ScreenLoupe& loupe() { return loupe_; }
    bool loaded() const { return loaded_; }

public slots:
    // The screen's load; runs once, at the latest when it is first shown.
    void Form_Load();
    void mnuExit_Click();

    void TournamentName_Change();
    void ResultsPathName_Change();
    void CapturesPathName_Change();
    void SetupFilesPathName_Change();
    void btnFindResults_Click();
    void btnFindNames_Click();

    void Opt1Grid_Click();
    void Opt2grid_Click();
    void Opt3grid_Click();
    void left_to_right_button_Click();
    void right_to_left_button_Click();
    void line_control_check_Click();
    void Barefoot_box_Click();
    void SitSki_box_Click();
    void default_color_Click();
    void white_color_Click();
    void black_color_Click();
    void yellow_color_Click();
    void OptImpactRed_Click();
    void OptImpactYellow_Click();
    void OptImpactWhite_Click();
    void OptImpactBlack_Click();
    void OptCircle_Click();
    void OptCross_Click();
    void OptPictureAsk_Click();
    void OptPictureNoSave_Click();
    void OptPictureSave_Click();
    void OptVideoAsk_Click();
    void OptVideoNoSave_Click();
    void OptVideoSave_Click();
    void WSTIMS_Click();
    void chkLoupe_Click();
    void cmdLoupe_Click();
    void chkBadSetup_Click();

protected:
    void showEvent(QShowEvent* event) override;
    // Closing the window leaves the screen as "E&xit and Save Parameters".
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void connectHandlers();
    QRadioButton* option(QGroupBox* frame, const char* name, const QString& caption,
                         void (Config::*handler)());
    QCheckBox* checkBox(const char* name, const QString& caption, void (Config::*handler)());

    // Selecting an option or setting a box runs its handler once, as a
    // click does.
    void select(QRadioButton* button);
    void setBox(QCheckBox* box, bool ticked);
    void setBoxText(QLineEdit* box, const QString& text);

    void loadFolders();
    void loadColors();
    void loadGridCount();
    void showGridIndicators();
    void loadGrids();
    // The grid setup file stored for grid g, made absolute.
    QString storedGridFile(int g) const;
    void loadChoices();
    void loadPolicies();

    void setGridCount(int count);
    void setMessageColor(long rgb, const QString& name);
    // The message colour on the measure screen; nullopt: per-control defaults.
    void applyMessageColor(std::optional<long> rgb);
    void showTournamentIndicator(const QString& text, bool visible);
    void appendResultsLine(const QString& line);
    void loadSkierNames();
    void chooseFileInto(QLineEdit* box, const QString& startDir);

    AppContext& app_;
    QString colorName_;
    ScreenLoupe loupe_;
    bool loaded_ = false;
    bool loading_ = false;
};

} // namespace zt
