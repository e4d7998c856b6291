#pragma once
// The program's name and version as its titles and reports spell them.

#include <string>

inline constexpr char kProductName[] = "Hushgate";
inline constexpr char kProductVersion[] = "3.61";

// What the main window's title and the About text begin with: "Hushgate V3.61".
inline std::string ProductTitle() { return std::string(kProductName) + " V" + kProductVersion; }
