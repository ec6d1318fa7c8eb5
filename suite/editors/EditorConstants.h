// Texts of the progress bar, the track bar and the splitter's hot-zone
// styles, and four tables of colour names kept for whoever lists colours by
// name.
#pragma once

#include <array>

// "Name|Description" texts of the editor kinds' registry.
inline constexpr const char* scxSEditRepositoryProgressBarItem = "ProgressBar|Represents a ProgressBar";
inline constexpr const char* scxSEditRepositoryTrackBarItem = "TrackBar|Represents a TrackBar";

// Display names of the hot-zone styles.
inline constexpr const char* scxHotZoneStyleMediaPlayer9 = "MediaPlayer9";
inline constexpr const char* scxHotZoneStyleMediaPlayer8 = "MediaPlayer8";
inline constexpr const char* scxHotZoneStyleXPTaskBar = "XPTaskBar";
inline constexpr const char* scxHotZoneStyleSimple = "Simple";

// The class library's colour identifiers, in the order of its colour map.
extern const std::array<const char*, 52> ClassLibraryColorNames;
// The sixteen basic colours of web pages.
extern const std::array<const char*, 16> BasicWebColorNames;
// The 140 extended web colours, alphabetically and grouped by hue.
extern const std::array<const char*, 140> ExtendedWebColorNamesByName;
extern const std::array<const char*, 140> ExtendedWebColorNamesByHue;
