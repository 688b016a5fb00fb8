#pragma once
// The video log viewer and the picture log viewer. Each is created when
// opened, fills its list from the day's video log, and is destroyed when
// closed. Neither changes a file.

#include "logs/VideoLog.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace zt {

class AppContext;

// The list, path box and file choice both viewers share.
class LogList {
public:
    LogList(AppContext& app, LogLines kind, QLineEdit* pathBox, QListWidget* list,
            QLineEdit* chosenBox);

    // The day's video log, when it exists.
    void loadDayLog();
    // "Select ... Log File": a log chosen in the video folder; a cancelled
    // dialog takes the log chosen before in this viewer (at first the day's
    // log it opened with) and rebuilds the list from it.
    void selectLogFile();
    // The path the line names goes into the chosen box (emptied by a line
    // without one).
    void choose(QListWidgetItem* item);
    // Width in pixels, in the list's font, of its longest entry and a space.
    int horizontalExtent() const { return extent_; }

private:
    void fill(const QString& path);

    AppContext& app_;
    LogLines kind_;
    QLineEdit* pathBox_;
    QListWidget* list_;
    QLineEdit* chosenBox_;
    QString chosenBefore_;
    int extent_ = 0;
};

class LogView : public QWidget {
    Q_OBJECT
public:
    // owner: the screen the viewer opens beside (null: none).
    LogView(AppContext& app, QWidget* owner);

    QLineEdit* txtLogFile;
    QListWidget* lstLog;
    QLineEdit* txtFileToView;
    QPushButton* cmdSelectLogFile;
    QPushButton* cmdView;
    QPushButton* cmdDismiss;
    QLabel* Label2;

    int horizontalExtent() const { return log_.horizontalExtent(); }

public slots:
    void cmdSelectLogFile_Click() { log_.selectLogFile(); }
    void lstLog_Click(QListWidgetItem* item) { log_.choose(item); }
    void lstLog_DblClick(QListWidgetItem* item);
    // The chosen clip on the frame selection screen ("View").
    void cmdView_Click();
    void cmdDismiss_Click() { close(); }

private:
    AppContext& app_;
    LogList log_;
};

class PictureLogView : public QWidget {
    Q_OBJECT
public:
    PictureLogView(AppContext& app, QWidget* owner);

    QLineEdit* txtPicLogToView;
    QListWidget* lstPicLog;
    QLineEdit* txtPictureToView;
    QPushButton* cmdSelPicLog;
    QPushButton* cmdViewPicLog;

    int horizontalExtent() const { return log_.horizontalExtent(); }

public slots:
    void cmdSelPicLog_Click() { log_.selectLogFile(); }
    void lstPicLog_Click(QListWidgetItem* item) { log_.choose(item); }
    void lstPicLog_DblClick(QListWidgetItem* item);
    // The chosen picture on the measure screen ("View Picture").
    void cmdViewPicLog_Click();

private:
    AppContext& app_;
    LogList log_;
};

} // namespace zt
