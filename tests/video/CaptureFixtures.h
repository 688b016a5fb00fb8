#pragma once
// Helpers of the capture tests: the frame counters a recorded clip shows,
// waiting for the event loop, and the tool run as a separate process.

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace zt::test {

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

// Runs the event loop until done() holds or the time is up.
bool waitUntil(const std::function<bool()>& done, int timeoutMs);

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
