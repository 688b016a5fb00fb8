#pragma once
// The skier list: the names of "SkierNames.txt" in the application folder,
// one per line. Created at every opening, destroyed when closed; a double
// click hands the name to the capture screen.

#include <QWidget>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace zt {

class AppContext;

class frmSelectSkier : public QWidget {
    Q_OBJECT
public:
    frmSelectSkier(AppContext& app, QWidget* owner);

    QListWidget* lstSkiers;
    QLabel* Label1;
    QPushButton* cmdNoSelect; // "No Selection"

    // Places the list and fills it from the names file. False when the file
    // cannot be read (it was removed after the capture screen's check): the
    // operator is told and the list is not to be shown.
    bool Form_Load();

public slots:
    void lstSkiers_DblClick(QListWidgetItem* item);
    void cmdNoSelect_Click() { close(); }

private:
    AppContext& app_;
};

} // namespace zt
