#pragma once
// Labels that show a picture file of the application folder (the grid
// state pictures and icons), with a drawn stand-in when the file is not
// there.

#include <QString>

class QLabel;
class QWidget;

namespace zt {

inline const QString readyGridPicture = QStringLiteral("SmallSmiley.jpg");
inline const QString notReadyGridPicture = QStringLiteral("SmallCaution.jpg");

// Shows the picture file `name` of folder dir in label; a drawn stand-in
// when the file is not there. The label's "pictureName" property holds the
// name shown.
void showPictureFile(QLabel* label, const QString& dir, const QString& name);
QString pictureNameOf(const QWidget* widget);

} // namespace zt
