#pragma once
// Helpers of the capture tests: the frame counters a recorded clip shows,
// waiting for the event loop, and the tool run as a separate process.

#include "capture/CaptureTypes.h"
#include "support/TestEnv.h"

#include <QString>
#include <QStringList>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

namespace zt::test {

// A frame clock the test steps: the camera makes frame n only once the
// test has allowed frames up to n, so what is recorded does not hang on how
// fast the machine is.
class SteppedFrameClock : public FrameClock {
public:
    bool waitForFrame(int64_t n, const std::atomic<bool>* abort) override;
    void allow(int64_t last);
    // The camera has made every allowed frame and waits for frame n.
    bool waitsFor(int64_t n) const;
    // The frame the camera asked for last.
    int64_t waiting() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable allowed_;
    int64_t last_ = 0;
    int64_t waiting_ = -1;
};

// The test camera's frame counter in each frame of a clip, as our own
// frame source reads it (-1: unreadable). Empty when the clip cannot be
// opened. frameCount: the frames the clip says it has (-1 unknown).
struct ClipCodes {
    std::vector<int> codes;
    long long frameCount = -1;
    bool opened = false;
};
ClipCodes clipCodes(const QString& path);

// Frames whose counter is not the one before + 1 (the first is free).
int counterBreaks(const std::vector<int>& codes);

// zentrak-tool as a process. fileSizeLimit > 0 caps the size of any file
// it writes (a full disk); killAfterBytesOf kills it once that file holds
// at least killBytes.
struct ToolRun {
    int exitCode = -1;
    bool killed = false;
    QString out;
    QString err;
};
ToolRun runTool(const QStringList& args, long long fileSizeLimit = 0,
                const QString& killAfterBytesOf = QString(), long long killBytes = 0);

} // namespace zt::test
