#pragma once
// What other screens set on the main screen: the indicators of each grid
// (label, state picture and description box) and the video folder box they
// read. The main screen implements it; App hands it out.

#include <QString>

namespace zt {

class MainScreenView {
public:
    virtual ~MainScreenView() = default;

    // Label, state picture and description box of grid g (1..3).
    virtual void showGridIndicator(int g, bool visible) = 0;
    // "SmallSmiley.jpg" when ready, "SmallCaution.jpg" otherwise.
    virtual void showGridState(int g, bool ready) = 0;
    virtual void setGridDescription(int g, const QString& text) = 0;
    // The folder box's text as typed (not trimmed).
    virtual QString videoFolderText() const = 0;
    // "Enable Barefoot Timing (15 sec)" is ticked.
    virtual bool barefootTimingOn() const = 0;
};

} // namespace zt
