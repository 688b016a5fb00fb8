#include "capture/CaptureControl.h"

#include "app/TextFormat.h"

namespace zt {

namespace {
constexpr int attributeRates[4] = {11025, 22050, 32000, 44100};
} // namespace

QString captureErrorText(const CaptureResult& result, bool hex) {
    const QString number =
        hex ? QString::number(static_cast<qulonglong>(result.code) & 0xFFFFFFFFu, 16).toUpper()
            : QString::number(result.code);
    return QStringLiteral("Eror code: ") + number + QLatin1Char(' ') + result.description;
}

QString audioFormatText(const AudioFormat& format) {
    return QString::number(format.sampleRate / 1000.0, 'f', 3) + QStringLiteral(" Khz, ") +
           QString::number(format.bits) + QStringLiteral(" bit, ") +
           (format.channels == 1 ? QStringLiteral("Mono") : QStringLiteral("Stereo"));
}

AudioFormat audioFormatOfEntry(int entry) {
    entry = qBound(0, entry, 15);
    return {(entry & 1) ? 2 : 1, (entry & 2) ? 16 : 8, attributeRates[entry / 4]};
}

AudioFormat audioFormatOfEntryText(const QString& entry) {
    AudioFormat f;
    f.sampleRate =
        static_cast<int>(toWholeNumber(readNumber(entry.section(QLatin1Char(' '), 0, 0)) * 1000));
    f.bits = entry.contains(QStringLiteral(" 16 "), Qt::CaseInsensitive) ? 16 : 8;
    f.channels = entry.contains(QStringLiteral("Stereo"), Qt::CaseInsensitive) ? 2 : 1;
    return f;
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
