#pragma once
// What other screens set on the grid setup screen: besides what saving and
// loading need (GridFileView), the configuration's load hides its
// "GRID LOCKED!" label.

#include "grid/GridSaveLoad.h"

namespace zt {

class GridSetupView : public GridFileView {
public:
    virtual void hideGridLockedLabel() = 0;
};

} // namespace zt
