#pragma once
// The file a recording writes: always a new one. It is created where
// nothing is at its name, never opened through a link (a link left at the
// clip's name would send the recording elsewhere) and never truncated.

extern "C" {
struct AVIOContext;
}

class QString;

namespace zt {

// Creates path as a new file and gives the writer's I/O context on it.
// 0, or a negative FFmpeg error (AVERROR(EEXIST) when anything is at the
// name, AVERROR(ELOOP) for a link).
int openNewClipFile(const QString& path, AVIOContext** pb);

// Flushes what the writer holds, closes the file and frees the context;
// sets *pb to null. The writer's error when it had one, else 0.
int closeClipFile(AVIOContext** pb);

} // namespace zt
