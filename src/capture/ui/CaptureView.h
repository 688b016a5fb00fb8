#pragma once
// Shows the capture control's live picture, scaled to fit.

#include <QWidget>

namespace zt {

class CaptureControl;

class CaptureView : public QWidget {
    Q_OBJECT
public:
    CaptureView(CaptureControl& control, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CaptureControl& control_;
};

} // namespace zt
