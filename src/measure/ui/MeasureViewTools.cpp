// The measure screen's aids to seeing the picture: the loupe at the mouse
// (button beside the cross size, L key) and the title naming the clip and
// frame being measured. Zoom and pan are the picture canvas's own.

#include "app/ClipCaption.h"
#include "app/ui/AppContext.h"
#include "config/ui/Loupe.h"
#include "measure/ui/Measure.h"
#include "measure/ui/MeasurePictures.h"

#include <QCursor>
#include <QScrollBar>
#include <QShortcut>
#include <QToolButton>

namespace zt {

Measure::~Measure() {
    delete loupe_.data();
}

LoupeWindow* Measure::loupe() const {
    return loupe_.data();
}

void Measure::buildViewTools() {
    btnLoupe = new QToolButton(CrossSize->parentWidget());
    btnLoupe->setObjectName(QStringLiteral("btnLoupe"));
    btnLoupe->setText(QStringLiteral("Loupe"));
    btnLoupe->setToolTip(QStringLiteral("Magnifier at the mouse (L)"));
    btnLoupe->setFocusPolicy(Qt::NoFocus);
    const QRect cross = CrossSize->geometry();
    btnLoupe->setGeometry(cross.right() + 6, cross.top() - 3, 52, cross.height() + 6);
    connect(btnLoupe, &QToolButton::clicked, this, &Measure::btnLoupe_Click);
    // A letter typed into a text box stays the box's.
    auto* key = new QShortcut(QKeySequence(Qt::Key_L), this);
    connect(key, &QShortcut::activated, this, &Measure::btnLoupe_Click);
}

void Measure::btnLoupe_Click() {
    if (loupe_) {
        loupe_->close();
        return;
    }
    loupe_ = new LoupeWindow();
    loupe_->setAttribute(Qt::WA_DeleteOnClose);
    loupe_->placeBeside(QCursor::pos());
    loupe_->followCursor(QCursor::pos());
    loupe_->show();
}

void Measure::showHandedOverFrame() {
    const AppState& s = app_.state;
    pictures_->showHandedOverFrame();
    setWindowTitle(measureTitle(clipFrameCaption(s.selectedVideoFile, s.selectedFrame)));
}

} // namespace zt
