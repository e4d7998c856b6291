#pragma once
// Where a planted program leaves its mark, and where the stand-in ZIP folder
// library records that it was registered or unregistered.

inline constexpr char kPlantedMarker[] = "C:\\hushgate-planted-program-ran.txt";
inline constexpr char kStandInKey[] = "Software\\HushgateTest";
