#pragma once
// Every key of the settings store, declared once with its stored form and
// its default. Call sites read and write through SettingsStore::get and
// SettingsStore::set with these declarations, never with a key text of
// their own, so a key's conversion and default are the same everywhere.

#include <array>

namespace zt {

// Stored forms.
// Text as it was written; the default when the key was never written.
struct TextSetting {
    const char* key;
    const char* defaultText;
};
// Decimal digits with a leading minus when negative; a text that is not a
// number counts as missing.
struct WholeSetting {
    const char* key;
    long long defaultValue;
};
// A number in its shortest text ("1", "2.5"); read strictly, a text that
// is not a number counts as missing.
struct NumberSetting {
    const char* key;
    double defaultValue;
};
// The text of a box or list entry, kept as typed; read as the longest
// leading number (the lenient rule of the boxes).
struct NumberTextSetting {
    const char* key;
    const char* defaultText;
};
// The words True and False; numeric text is read too (0 false, any other
// number true).
struct FlagSetting {
    const char* key;
    bool defaultValue;
};
// A check box state, "0" (clear) or "1" (ticked); only "1" ticks the box.
struct CheckSetting {
    const char* key;
};

namespace setting {

// Folders and files.
inline constexpr TextSetting logpath{"logpath", ""};
inline constexpr TextSetting logfile{"logfile", ""};
inline constexpr TextSetting TournamentName{"TournamentName", ""};
inline constexpr TextSetting SetupFiles{"SetupFiles", ""};
inline constexpr TextSetting grid1File{"grid1File", ""};
inline constexpr TextSetting grid2File{"grid2File", ""};
inline constexpr TextSetting grid3File{"grid3File", ""};

// Configuration choices.
inline constexpr TextSetting labelcolor{"labelcolor", ""};
inline constexpr TextSetting impactcolor{"impactcolor", ""};
inline constexpr NumberSetting grids{"grids", 0};
inline constexpr FlagSetting right2left{"right2left", false};
inline constexpr FlagSetting boxlineoff{"boxlineoff", false};
inline constexpr TextSetting tournamentType{"tournamentType", ""};
inline constexpr CheckSetting WSTIMS{"WSTIMS"};
inline constexpr CheckSetting Loupe{"Loupe"};
inline constexpr TextSetting buoymarker{"buoymarker", ""};
inline constexpr TextSetting PictureSave{"PictureSave", ""};
inline constexpr TextSetting VideoSave{"VideoSave", ""};

// Capture device and capture screen.
inline constexpr CheckSetting barefoot{"barefoot"};
inline constexpr WholeSetting device{"device", -1};
inline constexpr WholeSetting compression{"compression", -1};
inline constexpr NumberTextSetting framerate{"framerate", "0"};
inline constexpr WholeSetting VideoResolution{"VideoResolution", -1};
inline constexpr WholeSetting ColorFormat{"ColorFormat", -1};
inline constexpr WholeSetting VideoInput{"VideoInput", -1};
inline constexpr NumberTextSetting captureTime{"captureTime", "0"};
// MJPEG quantiser scale of recordings, 2 (best) to 31 (smallest files).
inline constexpr WholeSetting mjpegQuality{"mjpegquality", 3};

// "grid1File".."grid3File" for grid g (1..3; anything else grid 1).
constexpr const TextSetting& gridFile(int g) {
    return g == 2 ? grid2File : g == 3 ? grid3File : grid1File;
}

// Every key, for checks over the whole table.
inline constexpr std::array allKeys = {
    logpath.key,     logfile.key,     TournamentName.key,  SetupFiles.key,  grid1File.key,
    grid2File.key,   grid3File.key,   labelcolor.key,      impactcolor.key, grids.key,
    right2left.key,  boxlineoff.key,  tournamentType.key,  WSTIMS.key,      Loupe.key,
    buoymarker.key,  PictureSave.key, VideoSave.key,       barefoot.key,    device.key,
    compression.key, framerate.key,   VideoResolution.key, ColorFormat.key, VideoInput.key,
    captureTime.key, mjpegQuality.key};

} // namespace setting

} // namespace zt
