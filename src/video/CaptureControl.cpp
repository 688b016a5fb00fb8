#include "video/CaptureControl.h"

#include "video/TestCamera.h"

namespace zt {

std::unique_ptr<CaptureControl> createCaptureControl(bool testCamera, QObject* parent) {
    return std::make_unique<TestCamera>(testCamera, parent);
}

namespace {
constexpr int attributeRates[4] = {11025, 22050, 32000, 44100};
} // namespace

QString audioFormatText(const AudioFormat& format) {
    return QString::number(format.sampleRate / 1000.0, 'f', 3) + QStringLiteral(" Khz, ") +
           QString::number(format.bits) + QStringLiteral(" bit, ") +
           (format.channels == 1 ? QStringLiteral("Mono") : QStringLiteral("Stereo"));
}

AudioFormat audioFormatOfEntry(int entry) {
    entry = qBound(0, entry, 15);
    return {(entry & 1) ? 2 : 1, (entry & 2) ? 16 : 8, attributeRates[entry / 4]};
}

QStringList audioAttributeEntries() {
    QStringList entries;
    for (int i = 0; i < 16; ++i) {
        const AudioFormat f = audioFormatOfEntry(i);
        entries << QString::number(f.sampleRate / 1000.0, 'f', 3) + QStringLiteral(" Khz, ") +
                       QString::number(f.bits) + QStringLiteral(" Bit, ") +
                       (f.channels == 1 ? QStringLiteral("Mono") : QStringLiteral("Stereo"));
    }
    return entries;
}

} // namespace zt
