#pragma once
// The camera-moved guard of a grid setup file: its marks come from the
// file's four buoys and its check buoy file, its patches are kept beside
// it as FILE + ".patches".

#include "vision/CameraGuard.h"

#include <QString>
#include <functional>
#include <vector>

namespace zt::vision {

QString patchesPathOf(const QString& gridPath);

// The four buoys (1 upper right, 2 lower right, 3 upper left, 4 lower
// left) and the check buoy when its file is there, in pixels. Empty with
// error set when the setup file cannot be read whole.
std::vector<GuardMark> guardMarksOfGrid(const QString& gridPath, QString* error);

// The guard kept beside the grid file, or cut now from setup when given.
CameraGuard guardOfGrid(const QString& gridPath, const QImage& setup, QString* error);

// Keeps the patches of the grid just saved at gridPath, cut from its setup
// picture. The patches of an earlier save go first, so a guard never
// checks marks the grid no longer has. An empty text when written; with
// no picture, or no mark with room for a patch, nothing is written.
QString keepGridPatches(const QString& gridPath, const QImage& setup);

// A frame taken for measuring with grid g (its file gridPath) against the
// grid's patches: nothing checked when the grid has none.
struct FrameCameraCheck {
    bool checked = false;
    bool moved = false;
    QString warning; // for the measure screen, when moved
    QString logLine; // for the diagnostic log, when checked
};
FrameCameraCheck checkFrameForGrid(const QString& gridPath, int grid, const QImage& frame);
// The same against a guard at hand; warning is the text shown when moved.
FrameCameraCheck checkFrameWith(const CameraGuard& guard, const QImage& frame,
                                const std::function<QString(const CameraCheck&)>& warning);

} // namespace zt::vision
