#pragma once
// The picture commands of the measure screen: "Load Picture", "Save
// Picture", "Paste", the clipboard and file snapshots, "Auto Load", the
// picture chosen in the picture log and the saving policy on leaving. It
// keeps which picture the screen shows and where it came from; the work
// is in measure/Pictures.

#include "measure/Pictures.h"

#include <QImage>
#include <QString>
#include <optional>

namespace zt {

class AppContext;
class Measure;

class MeasurePictures {
public:
    MeasurePictures(Measure& screen, AppContext& app);

    const ShownPicture& shown() const { return shown_; }

    // The frame handed over by frame selection ("currentcapture.bmp").
    void showHandedOverFrame();
    void loadPicture();
    SaveOutcome savePicture();
    void paste();
    void clipboardSnapshot();
    void fileSnapshot();
    // One "Auto Load" tick: the clip flag of the exchange folder.
    void autoLoadTick();
    bool showLoggedPicture(const QString& path);
    // The saving policy before the screen is left; false: stay.
    bool beforeLeaving(LeaveBy by);
    // "Clear" took the picture away.
    void cleared() { shown_ = {}; }

private:
    // The picture of a file, or nullopt after telling the operator.
    std::optional<QImage> readOrTell(const QString& path);
    // Paste and snapshots: a still picture, frozen, distances emptied.
    void showStill(const QImage& image, const ShownPicture& shown, const QString& sourceText);
    void showPictureSize();
    // The source box with text, at the given place.
    void showSource(const QString& text, const QPoint& at);
    PictureSaveContext saveContext();
    void tellClipFlagProblem(const QString& problem);

    Measure& m_;
    AppContext& app_;
    ShownPicture shown_;
    // The clip flag's problem last told: the poll runs every second and
    // tells each new one once.
    QString clipFlagTold_;
};

} // namespace zt
