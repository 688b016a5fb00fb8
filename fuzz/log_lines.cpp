// The log viewers' line rules on a video log: clip and picture lines, the
// path each names, the longest entry.

#include "FuzzSupport.h"
#include "logs/VideoLog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace zt;
    const QByteArray bytes = fuzz::bytesOf(data, size);
    for (const LogLines kind : {LogLines::Clips, LogLines::Pictures}) {
        const QStringList lines = logLinesOf(bytes, kind);
        for (const QString& line : lines)
            (void)pathOfLogLine(line);
        const int longest = longestEntryIndex(lines);
        if (longest >= lines.size() || (longest < 0 && !lines.isEmpty()))
            abort();
    }
    return 0;
}
