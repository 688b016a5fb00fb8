#pragma once

namespace zt {

class Dialogs;
class SettingsStore;

// Offered at every start: after two confirmations, asks key by key whether
// to put eight settings back to their install values.
void emergencyReset(Dialogs& dialogs, SettingsStore& settings);

} // namespace zt
