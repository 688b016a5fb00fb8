#pragma once
// A drag handle: a label that, while the mouse button is down on it, moves
// itself and the other controls of its group by the mouse movement relative
// to where the button went down inside it. Owned by the handle.

#include <QList>
#include <QObject>
#include <QPoint>

class QWidget;

namespace zt {

class DragGroup : public QObject {
public:
    DragGroup(QWidget* handle, QList<QWidget*> members);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QWidget*> members_; // the handle first
    bool dragging_ = false;
    QPoint kept_;
};

} // namespace zt
