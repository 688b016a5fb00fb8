#pragma once
// The manual screen.

#include <QWidget>

class QLabel;
class QPushButton;
class QTextEdit;

namespace zt {

class App;

class frmManual : public QWidget {
    Q_OBJECT
public:
    explicit frmManual(App& app);

    QLabel* Label1;
    QTextEdit* RichTextBox1;
    QPushButton* cmdDone; // "Done"

public slots:
    void cmdDone_Click();

protected:
    // Closing the window goes back to the main screen as "Done" does.
    void closeEvent(QCloseEvent* event) override;

private:
    App& app_;
};

} // namespace zt
