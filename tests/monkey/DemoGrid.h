#pragma once
// A grid set up on the demo's setup picture as an official does it: the
// survey typed in its boxes, the four buoys and the check buoy clicked on
// the picture where the demo's truth has them, then Complete.

#include <QMap>
#include <QString>

namespace zt {

class Grid_Setup;

// The demo files' "key: v1 v2" lines (survey and truth), read with the
// point.
using KeyValues = QMap<QString, QList<double>>;
KeyValues readKeyValues(const QString& path);

struct DemoGrid {
    KeyValues survey, truth;
    // From demo-survey.txt and demo-truth.txt in folder; false when missing.
    bool read(const QString& folder);
    // The survey typed and the points clicked on the picture gs shows, then
    // Complete pressed.
    void enter(Grid_Setup& gs) const;
};

} // namespace zt
