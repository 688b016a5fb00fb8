#pragma once
// The manual screen: the operators' manual "ZT05Manual.rtf" of the
// application folder, read once per run at the first showing.

#include <QWidget>

class QLabel;
class QPushButton;
class QTextEdit;

namespace zt {

class AppContext;

class frmManual : public QWidget {
    Q_OBJECT
public:
    explicit frmManual(AppContext& app);

    QLabel* Label1;
    QTextEdit* RichTextBox1;
    QPushButton* cmdDone; // "Done"

    // The manual the program was delivered with (built into the program).
    static QByteArray deliveredManual();

public slots:
    // Puts the manual into RichTextBox1 (once per run).
    void Form_Load();
    void cmdDone_Click();

protected:
    void showEvent(QShowEvent* event) override;
    // Closing the window goes back to the main screen as "Done" does.
    void closeEvent(QCloseEvent* event) override;

private:
    AppContext& app_;
    bool loaded_ = false;
};

} // namespace zt
