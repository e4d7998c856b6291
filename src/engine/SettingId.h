#pragma once

// One setting, 0 to 62; the same number on the command line, in the status
// check, apply, revert and the tree. 17, 18 and 20 name no setting.
using SettingId = unsigned int;

// One top-level category of the settings tree, 0 to 7.
using SettingCategory = int;

constexpr SettingId kLastSettingId = 62;
constexpr SettingCategory kCategoryCount = 8;
