#pragma once
// Controls of one screen that another screen sets: the main screen's grid
// indicators (label, state picture and description box of each grid) and
// the measure screen's controls, found by their names so that each screen
// keeps its own layout.

#include <QString>

class QLabel;
class QLineEdit;
class QWidget;

namespace zt {

class App;

inline const QString readyGridPicture = QStringLiteral("SmallSmiley.jpg");
inline const QString notReadyGridPicture = QStringLiteral("SmallCaution.jpg");

// Shows the picture file `name` of folder dir in label; a drawn stand-in
// when the file is not there. The label's "pictureName" property holds the
// name shown.
void showPictureFile(QLabel* label, const QString& dir, const QString& name);
QString pictureNameOf(const QWidget* widget);

// Main screen: lblGrid1..3, ImageGrid1..3, txtGridDescription(0..2).
// nullptr when the main screen has no such control.
QWidget* mainGridLabel(App& app, int g);
QLabel* mainGridImage(App& app, int g);
QLineEdit* mainGridDescription(App& app, int g);

void setMainGridPicture(App& app, int g, bool ready);
void setMainGridDescription(App& app, int g, const QString& text);
void setMainGridVisible(App& app, int g, bool visible);

// A measure screen control by name; nullptr when there is none.
QWidget* measureControl(App& app, const QString& name);

} // namespace zt
