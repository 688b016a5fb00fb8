#pragma once
// The results viewer: the whole results file as text, captioned with its
// path. Created on first use, then hidden and shown.

#include <QWidget>

class QPushButton;
class QTextEdit;

namespace zt {

class AppContext;

class Results : public QWidget {
    Q_OBJECT
public:
    explicit Results(AppContext& app);

    QTextEdit* output_box;
    QPushButton* Exit_results; // "E&xit"

    // Empties the text, reads the whole file at path (leading spaces of the
    // path removed) into it and shows the viewer captioned with path. A file
    // that cannot be read is told with its path; the viewer stays hidden.
    bool showResultsFile(const QString& path);

public slots:
    void Exit_results_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    AppContext& app_;
};

} // namespace zt
