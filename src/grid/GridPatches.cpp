#include "grid/GridPatches.h"

#include "grid/GridFiles.h"

#include <QFile>

namespace zt::vision {

QString patchesPathOf(const QString& gridPath) {
    return gridPath + QStringLiteral(".patches");
}

std::vector<GuardMark> guardMarksOfGrid(const QString& gridPath, QString* error) {
    const GridSetupFileRead read = readGridSetupFile(gridPath);
    if (read.status == GridFileStatus::Unreadable) {
        *error = read.error;
        return {};
    }
    if (!read.has(gridItem::buoyValue(4, 1))) {
        *error = gridPath + QStringLiteral(": the grid setup file ends before its buoys");
        return {};
    }
    static const char* const names[] = {"", "upper right", "lower right", "upper left",
                                        "lower left"};
    std::vector<GuardMark> marks;
    for (size_t i = 1; i <= 4; ++i) {
        const GridFileBuoy& b = read.content.buoys[i];
        marks.push_back({QString::fromLatin1(names[i]), QPointF(b.screenX, b.screenY) / 15});
    }
    const CheckBuoyFileRead cb = readCheckBuoyFile(checkBuoyFilePath(gridPath));
    if (cb.itemsRead >= 2)
        marks.push_back(
            {QStringLiteral("check buoy"), QPointF(cb.values.screenX, cb.values.screenY) / 15});
    return marks;
}

CameraGuard guardOfGrid(const QString& gridPath, const QImage& setup, QString* error) {
    if (setup.isNull())
        return CameraGuard::load(patchesPathOf(gridPath), error);
    const std::vector<GuardMark> marks = guardMarksOfGrid(gridPath, error);
    return marks.empty() ? CameraGuard() : CameraGuard(setup, marks);
}

QString keepGridPatches(const QString& gridPath, const QImage& setup) {
    const QString path = patchesPathOf(gridPath);
    if (QFile::exists(path) && !QFile::remove(path))
        return path + QStringLiteral(": the old patches cannot be removed");
    if (setup.isNull())
        return QString();
    QString error;
    const CameraGuard guard = guardOfGrid(gridPath, setup, &error);
    if (guard.empty()) // no mark with room for a patch: no guard
        return error;
    guard.save(path, &error);
    return error;
}

FrameCameraCheck checkFrameForGrid(const QString& gridPath, int grid, const QImage& frame) {
    FrameCameraCheck result;
    if (gridPath.isEmpty() || frame.isNull() || !QFile::exists(patchesPathOf(gridPath)))
        return result;
    QString error;
    const CameraGuard guard = CameraGuard::load(patchesPathOf(gridPath), &error);
    if (guard.empty()) {
        result.logLine = QStringLiteral("Camera check not possible: ") + error;
        return result;
    }
    return checkFrameWith(guard, frame,
                          [grid](const CameraCheck& c) { return cameraMovedText(grid, c); });
}

FrameCameraCheck checkFrameWith(const CameraGuard& guard, const QImage& frame,
                                const std::function<QString(const CameraCheck&)>& warning) {
    FrameCameraCheck result;
    const CameraCheck check = guard.check(frame);
    result.checked = true;
    result.moved = check.moved;
    result.logLine = cameraShiftsLine(check);
    if (check.moved)
        result.warning = warning(check);
    return result;
}

} // namespace zt::vision
