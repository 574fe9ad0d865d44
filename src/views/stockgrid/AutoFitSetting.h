#pragma once
// The auto-fit option: after every refresh the main window and the watch
// list fit their grids' columns to the texts. Key "AutoFit" of section
// [Misc] in the settings file, on when its value is "YES" (the default).
class TMyIniFile;

inline constexpr const char *AutoFitSection = "Misc";
inline constexpr const char *AutoFitKey = "AutoFit";

bool AutoFitOn(TMyIniFile &settings);
