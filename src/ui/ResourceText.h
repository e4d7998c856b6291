#pragma once
// Texts of the program's string table, in the ANSI code page, at their full
// length.

#include <string>

std::string LoadText(int id);
