#pragma once
// The demo lake as a camera and as files: the "Demo lake" capture device
// streams the scene in real time through the recording pipeline of every
// camera, its frame number coded along the bottom edge as the test
// camera's is; the demo files give a new user a setup picture, one recorded
// jump, the survey an official would receive, and the truth to check a
// measurement against.

#include "capture/CaptureTypes.h"
#include "demo/DemoLake.h"

#include <QString>

namespace zt {

class DemoLakeVideo : public VideoGenerator {
public:
    DemoLakeVideo(QSize size, int frameRate, unsigned seed,
                  std::shared_ptr<FrameClock> clock = nullptr, QPointF cameraShift = QPointF());
    QSize size() const override { return lake_.size(); }
    int frameRate() const override { return rate_; }
    QImage frame(int64_t n) const override;
    const DemoLake& lake() const { return lake_; }
    FrameClock* clock() const override { return clock_.get(); }

private:
    DemoLake lake_;
    int rate_;
    std::shared_ptr<FrameClock> clock_;
};

// "key: values" texts of the demo files.
QString demoSurveyText(const DemoLake& lake);
// The buoys as on the setup picture (lake without a camera shift), the
// landing as on the clip (clip's lake), and the clip camera's shift.
QString demoTruthText(const DemoLake& lake, const DemoJump& jump, double fps);
QString demoTruthText(const DemoLake& lake, const DemoLake& clipLake, const DemoJump& jump,
                      double fps);

// Writes "demo-setup.bmp", "DEMOjump1.avi" (jump 0, MJPEG), "demo-survey.txt"
// and "demo-truth.txt" into folder; an empty text when all are written,
// else what failed. The clip's camera is shifted by cameraShift pixels
// against the setup picture.
QString writeDemoFiles(const QString& folder, QSize size, int frameRate, unsigned seed,
                       QPointF cameraShift = QPointF());

} // namespace zt
