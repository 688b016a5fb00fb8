#include "measure/ui/DragGroup.h"

#include <QMouseEvent>
#include <QWidget>

namespace zt {

DragGroup::DragGroup(QWidget* handle, QList<QWidget*> members)
    : QObject(handle), members_(std::move(members)) {
    members_.prepend(handle);
    handle->installEventFilter(this);
}

bool DragGroup::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        dragging_ = true;
        kept_ = static_cast<QMouseEvent*>(event)->position().toPoint();
        return true;
    case QEvent::MouseMove:
        if (dragging_) {
            const QPoint d = static_cast<QMouseEvent*>(event)->position().toPoint() - kept_;
            for (QWidget* w : members_)
                w->move(w->pos() + d);
        }
        return dragging_;
    case QEvent::MouseButtonRelease:
        dragging_ = false;
        return true;
    default:
        return false;
    }
}

} // namespace zt
