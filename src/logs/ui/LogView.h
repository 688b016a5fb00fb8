#pragma once
// The video log viewer and the picture log viewer. Each is created when
// opened and destroyed when closed.

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zt {

class App;

class LogView : public QWidget {
    Q_OBJECT
public:
    // owner: the screen the viewer opens beside (null: none).
    LogView(App& app, QWidget* owner);

    QLineEdit* txtLogFile;
    QListWidget* lstLog;
    QLineEdit* txtFileToView;
    QPushButton* cmdSelectLogFile;
    QPushButton* cmdView;
    QPushButton* cmdDismiss;
    QLabel* Label2;

public slots:
    void cmdDismiss_Click() { close(); }

private:
    App& app_;
};

class PictureLogView : public QWidget {
    Q_OBJECT
public:
    PictureLogView(App& app, QWidget* owner);

    QLineEdit* txtPicLogToView;
    QListWidget* lstPicLog;
    QLineEdit* txtPictureToView;
    QPushButton* cmdSelPicLog;
    QPushButton* cmdViewPicLog;

private:
    App& app_;
};

} // namespace zt
