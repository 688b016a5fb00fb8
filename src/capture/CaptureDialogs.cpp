#include "capture/CaptureDialogs.h"

#include <algorithm>
#include <cmath>

namespace zt {

namespace {

const QList<int> sampleRates = {11025, 22050, 32000, 44100, 48000};
constexpr int bestQuality = 2;
constexpr int smallestQuality = 31;

} // namespace

VideoSourceForm videoSourceForm(const CaptureChoices& resolutions, const CaptureChoices& formats,
                                const CaptureChoices& inputs, const QList<double>& deviceRates,
                                int frameRate) {
    VideoSourceForm f;
    f.form.title = QStringLiteral("Video Source");
    f.form.fields.append(
        {QStringLiteral("Resolution:"), resolutions.names, qMax(0, resolutions.current)});
    f.form.fields.append(
        {QStringLiteral("Color Format:"), formats.names, qMax(0, formats.current)});
    f.hasInputs = inputs.count() > 0;
    if (f.hasInputs)
        f.form.fields.append({QStringLiteral("Input:"), inputs.names, qMax(0, inputs.current)});
    for (double r : deviceRates)
        f.rates.append(static_cast<int>(std::lround(r)));
    f.rates.append(frameRate);
    std::sort(f.rates.begin(), f.rates.end());
    f.rates.erase(std::unique(f.rates.begin(), f.rates.end()), f.rates.end());
    f.rates.removeAll(0);
    QStringList rateNames;
    for (int r : f.rates)
        rateNames << QString::number(r);
    f.form.fields.append({QStringLiteral("Frame Rate (fps):"), rateNames,
                          static_cast<int>(f.rates.indexOf(frameRate))});
    return f;
}

VideoSourceChoice VideoSourceForm::read(const QList<int>& chosen) const {
    VideoSourceChoice c;
    int i = 0;
    c.resolution = chosen.value(i++);
    c.colorFormat = chosen.value(i++);
    if (hasInputs)
        c.input = chosen.value(i++);
    c.frameRate = rates.value(chosen.value(i), 30);
    return c;
}

ChoiceForm compressionForm(int quality) {
    QStringList entries;
    for (int q = bestQuality; q <= smallestQuality; ++q)
        entries << (q == bestQuality       ? QStringLiteral("2 (best picture, largest files)")
                    : q == smallestQuality ? QStringLiteral("31 (smallest files)")
                                           : QString::number(q));
    return {QStringLiteral("MJPEG Compression"),
            {{QStringLiteral("Quality:"), entries,
              qBound(bestQuality, quality, smallestQuality) - bestQuality}}};
}

int qualityOfChoice(const QList<int>& chosen) {
    return qBound(bestQuality, chosen.value(0) + bestQuality, smallestQuality);
}

ChoiceForm audioFormatForm(const AudioFormat& format) {
    QStringList rates;
    for (int r : sampleRates)
        rates << QString::number(r);
    const int rate = static_cast<int>(sampleRates.indexOf(format.sampleRate));
    return {QStringLiteral("Audio Format"),
            {{QStringLiteral("Sample Rate (Hz):"), rates, rate < 0 ? 3 : rate},
             {QStringLiteral("Bits:"),
              {QStringLiteral("8"), QStringLiteral("16")},
              format.bits == 8 ? 0 : 1},
             {QStringLiteral("Channels:"),
              {QStringLiteral("Mono"), QStringLiteral("Stereo")},
              format.channels == 2 ? 1 : 0}}};
}

AudioFormat audioFormatOfChoice(const QList<int>& chosen) {
    AudioFormat f;
    f.sampleRate = sampleRates.value(chosen.value(0), 44100);
    f.bits = chosen.value(1) == 0 ? 8 : 16;
    f.channels = chosen.value(2) == 1 ? 2 : 1;
    return f;
}

} // namespace zt
