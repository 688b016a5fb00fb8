#include "logs/ui/LogView.h"

#include "app/FileUtils.h"
#include "app/Paths.h"
#include "app/Startup.h"
#include "app/ui/AppContext.h"
#include "app/ui/Widgets.h"
#include "measure/MeasureView.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QListWidget>
#include <QVBoxLayout>

namespace zt {

namespace {

void makeViewerWindow(QWidget* viewer, QWidget* owner) {
    if (owner)
        viewer->setParent(owner, Qt::Window);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->resize(900, 420);
}

QListWidget* logList(QWidget* parent, const char* name) {
    auto* list = ui::named(new QListWidget(parent), name);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The lines are laid out in print columns.
    list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    return list;
}

} // namespace

// ---- LogList ----

LogList::LogList(AppContext& app, LogLines kind, QLineEdit* pathBox, QListWidget* list,
                 QLineEdit* chosenBox)
    : app_(app), kind_(kind), pathBox_(pathBox), list_(list), chosenBox_(chosenBox) {}

void LogList::choose(QListWidgetItem* item) {
    if (item)
        chosenBox_->setText(pathOfLogLine(item->text()));
}

void LogList::fill(const QString& path) {
    list_->clear();
    chosenBox_->clear(); // a path chosen in the list before goes with it
    extent_ = 0;
    const auto lines = fileExists(path) ? readLogLines(path, kind_) : std::nullopt;
    if (!lines)
        return;
    list_->addItems(*lines);
    const int longest = longestEntryIndex(*lines);
    if (longest >= 0)
        extent_ =
            QFontMetrics(list_->font()).horizontalAdvance(lines->at(longest) + QLatin1Char(' '));
}

void LogList::loadDayLog() {
    const QString path = joinPath(app_.state.videoDir, app_.state.measurementLogName);
    if (fileExists(path)) {
        pathBox_->setText(path);
        chosenBefore_ = path; // a cancelled choice keeps the day's log
    }
    fill(path);
}

void LogList::selectLogFile() {
    FileDialogRequest request;
    request.title = QStringLiteral("Select a Log File");
    request.filter = videolog::selectFilter;
    request.filterIndex = 1;
    request.startDir = app_.state.videoDir;
    const auto chosen = app_.dialogs().openFile(request);
    if (chosen && !chosen->isEmpty())
        chosenBefore_ = *chosen;
    pathBox_->setText(chosenBefore_);
    fill(chosenBefore_);
}

// ---- Video log viewer ----

LogView::LogView(AppContext& app, QWidget* owner)
    : txtLogFile(ui::edit(this, "txtLogFile")), lstLog(logList(this, "lstLog")),
      txtFileToView(ui::edit(this, "txtFileToView")),
      cmdSelectLogFile(
          ui::button(this, "cmdSelectLogFile", QStringLiteral("Select Different Log File"))),
      cmdView(ui::button(this, "cmdView", QStringLiteral("View Selected File"))),
      cmdDismiss(ui::button(this, "cmdDismiss", QStringLiteral("Exit Log Viewer"))),
      Label2(ui::label(this, "Label2",
                       QStringLiteral("Click to Select and use View Selected File button to View "
                                      "or Double Click to view"))),
      app_(app), log_(app, LogLines::Clips, txtLogFile, lstLog, txtFileToView) {
    makeViewerWindow(this, owner);
    setObjectName(QStringLiteral("LogView"));
    setWindowTitle(QStringLiteral("Log Viewer"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Log File to View"), this));
    layout->addWidget(txtLogFile);
    layout->addWidget(lstLog, 1);
    layout->addWidget(Label2);
    layout->addWidget(txtFileToView);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdSelectLogFile, cmdView, cmdDismiss})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    txtLogFile->setReadOnly(true);
    connect(cmdSelectLogFile, &QPushButton::clicked, this, &LogView::cmdSelectLogFile_Click);
    connect(lstLog, &QListWidget::itemClicked, this, &LogView::lstLog_Click);
    connect(lstLog, &QListWidget::currentItemChanged, this, &LogView::lstLog_Click);
    connect(lstLog, &QListWidget::itemDoubleClicked, this, &LogView::lstLog_DblClick);
    connect(cmdView, &QPushButton::clicked, this, &LogView::cmdView_Click);
    connect(cmdDismiss, &QPushButton::clicked, this, &LogView::cmdDismiss_Click);
    log_.loadDayLog();
}

void LogView::lstLog_DblClick(QListWidgetItem* item) {
    lstLog_Click(item);
    cmdView_Click();
}

void LogView::cmdView_Click() {
    const QString file = txtFileToView->text();
    if (file.isEmpty())
        return;
    app_.state.screenMode = QStringLiteral("View");
    app_.state.viewFile = file;
    close();
    app_.handOver(Screen::FrameSelection);
}

// ---- Picture log viewer ----

PictureLogView::PictureLogView(AppContext& app, QWidget* owner)
    : txtPicLogToView(ui::edit(this, "txtPicLogToView")), lstPicLog(logList(this, "lstPicLog")),
      txtPictureToView(ui::edit(this, "txtPictureToView")),
      cmdSelPicLog(ui::button(this, "cmdSelPicLog", QStringLiteral("Select a Log File"))),
      cmdViewPicLog(ui::button(this, "cmdViewPicLog", QStringLiteral("View Picture"))), app_(app),
      log_(app, LogLines::Pictures, txtPicLogToView, lstPicLog, txtPictureToView) {
    makeViewerWindow(this, owner);
    setObjectName(QStringLiteral("PictureLogView"));
    setWindowTitle(QStringLiteral("Contact Picture Log"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtPicLogToView);
    layout->addWidget(lstPicLog, 1);
    layout->addWidget(txtPictureToView);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdSelPicLog, cmdViewPicLog})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    txtPicLogToView->setReadOnly(true);
    connect(cmdSelPicLog, &QPushButton::clicked, this, &PictureLogView::cmdSelPicLog_Click);
    connect(lstPicLog, &QListWidget::itemClicked, this, &PictureLogView::lstPicLog_Click);
    connect(lstPicLog, &QListWidget::currentItemChanged, this, &PictureLogView::lstPicLog_Click);
    connect(lstPicLog, &QListWidget::itemDoubleClicked, this, &PictureLogView::lstPicLog_DblClick);
    connect(cmdViewPicLog, &QPushButton::clicked, this, &PictureLogView::cmdViewPicLog_Click);
    log_.loadDayLog();
}

void PictureLogView::lstPicLog_DblClick(QListWidgetItem* item) {
    lstPicLog_Click(item);
    cmdViewPicLog_Click();
}

void PictureLogView::cmdViewPicLog_Click() {
    // The measure screen only opens while every grid in use is set up.
    if (app_.state.gridsReady != 1) {
        app_.dialogs().error(gridsNotReadyMessage);
        return;
    }
    const QString file = txtPictureToView->text();
    if (!file.isEmpty() && !app_.measureView().showLoggedPicture(file))
        return; // told; the viewer stays for another choice
    close();
    app_.handOver(Screen::Measure);
}

} // namespace zt
