#pragma once
// The camera-moved guard of a grid setup file: its marks come from the
// file's four buoys and its check buoy file, its patches are kept beside
// it as FILE + ".patches".

#include "vision/CameraGuard.h"

#include <QString>
#include <vector>

namespace zt::vision {

QString patchesPathOf(const QString& gridPath);

// The four buoys (1 upper right, 2 lower right, 3 upper left, 4 lower
// left) and the check buoy when its file is there, in pixels. Empty with
// error set when the setup file cannot be read whole.
std::vector<GuardMark> guardMarksOfGrid(const QString& gridPath, QString* error);

// The guard kept beside the grid file, or cut now from setup when given.
CameraGuard guardOfGrid(const QString& gridPath, const QImage& setup, QString* error);

} // namespace zt::vision
