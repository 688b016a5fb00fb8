#include "video/ClipNames.h"

#include "app/FileAccess.h"
#include "app/FileUtils.h"
#include "app/Paths.h"
#include "app/Startup.h"
#include "app/TextFormat.h"

#include <QFileInfo>

namespace zt {

namespace {

// A name that no clip could have: there is no end to raising past clips.
constexpr int maxTries = 10000;

} // namespace

QString clipPathFor(const QString& videoDir, const QString& skierName, const QString& jumpText) {
    // Whatever the name holds, the clip lands in the video folder.
    return joinPath(withoutTrailingSeparator(videoDir),
                    safeSkierName(skierName) + QStringLiteral("jump") + jumpText.trimmed() +
                        QStringLiteral(".avi"));
}

JumpNumber jumpNumberPastClips(const QString& videoDir, const QString& skierName,
                               const QString& jumpText) {
    JumpNumber j{jumpText, false};
    for (int i = 0; i < maxTries && pathExists(clipPathFor(videoDir, skierName, j.text), PathFile);
         ++i) {
        j.text = nextJumpNumber(j.text);
        j.raised = true;
    }
    return j;
}

ClipName clipNameKeepingClips(const QString& videoDir, const QString& skierName,
                              const QString& jumpText) {
    ClipName c{safeSkierName(skierName), clipPathFor(videoDir, skierName, jumpText), false};
    // Anything at the path, a file, a folder or a link (even one leading
    // nowhere, which the recording would otherwise follow), keeps its name.
    for (int i = 0; i < maxTries && pathTaken(c.path); ++i) {
        c.skierName += QLatin1Char('X');
        c.altered = true;
        c.path = clipPathFor(videoDir, c.skierName, jumpText);
    }
    return c;
}

QString nextJumpNumber(const QString& jumpText) {
    return numberText(readNumber(jumpText) + 1);
}

} // namespace zt
