#pragma once
// The open and save file dialogs with their fixed filters.
//   kind 0: pictures (bmp, jpg, pic), default extension "jpg"
//   kind 1: AVI clips, default extension "avi"
//   kind 2: capture profiles (.cpf), default extension "cpf"

#include "app/Dialogs.h"

#include <QString>

namespace zt {

// The chosen path; the given path unchanged on cancel or an unknown kind.
QString showOpenDialog(Dialogs& dialogs, const QString& path, int kind);
QString showSaveDialog(Dialogs& dialogs, const QString& path, int kind);

// Filter text ("Label|pattern|...") and default extension of a kind.
QString dialogFilter(int kind);
QString dialogDefaultExtension(int kind);

} // namespace zt
