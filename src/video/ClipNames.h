#pragma once
// The names of clips in the video folder: the clip of a skier's jump, the
// jump number raised past existing clips, the skier name extended so that
// a recording never overwrites a clip.

#include <QString>

namespace zt {

// videoDir (one trailing separator removed) + separator + the skier name
// made safe for a file name + "jump" + the jump number text without surrounding spaces + ".avi".
QString clipPathFor(const QString& videoDir, const QString& skierName, const QString& jumpText);

// The jump number raised by one while a clip exists for it.
struct JumpNumber {
    QString text;
    bool raised = false;
};
JumpNumber jumpNumberPastClips(const QString& videoDir, const QString& skierName,
                               const QString& jumpText);

// The skier name with "X" appended while a clip exists for name and jump.
struct ClipName {
    QString skierName;
    QString path;
    bool altered = false;
};
ClipName clipNameKeepingClips(const QString& videoDir, const QString& skierName,
                              const QString& jumpText);

// The jump number text after a recording: its value + 1.
QString nextJumpNumber(const QString& jumpText);

} // namespace zt
