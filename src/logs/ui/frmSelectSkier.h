#pragma once
// The skier list: created at every opening, destroyed when closed.

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

namespace zt {

class App;

class frmSelectSkier : public QWidget {
    Q_OBJECT
public:
    frmSelectSkier(App& app, QWidget* owner);

    QListWidget* lstSkiers;
    QLabel* Label1;
    QPushButton* cmdNoSelect; // "No Selection"

public slots:
    void cmdNoSelect_Click() { close(); }

private:
    App& app_;
};

} // namespace zt
