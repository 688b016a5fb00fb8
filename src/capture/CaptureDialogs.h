#pragma once
// The capture device's configuration dialogs as forms of lists: the video
// source (35), the MJPEG compressor (256) and the audio format (1032).
// Building a form and reading the operator's choices back are plain
// functions; the dialogs service shows the form.

#include "app/Dialogs.h"
#include "capture/CaptureControl.h"

namespace zt {

struct VideoSourceChoice {
    int resolution = 0;
    int colorFormat = 0;
    int input = -1; // -1: the device has no inputs to choose from
    int frameRate = 30;
};

struct VideoSourceForm {
    ChoiceForm form;
    QList<int> rates; // the frame rate of each entry of the rate list
    bool hasInputs = false;
    VideoSourceChoice read(const QList<int>& chosen) const;
};

VideoSourceForm videoSourceForm(const CaptureChoices& resolutions, const CaptureChoices& formats,
                                const CaptureChoices& inputs, const QList<double>& deviceRates,
                                int frameRate);

ChoiceForm compressionForm(int quality);
int qualityOfChoice(const QList<int>& chosen);

ChoiceForm audioFormatForm(const AudioFormat& format);
AudioFormat audioFormatOfChoice(const QList<int>& chosen);

} // namespace zt
