#pragma once
// What a save of a profile rewrites in a file: the Format line and the
// program's header comment in [Hushgate], and in [Settings] the lines of the
// settings this version knows. Every other line keeps its bytes and its
// place; what is missing is added where a fresh file has it.

#include <map>
#include <string>

#include "engine/Profile.h"
#include "system/ProfileLines.h"

void RewriteOwnLines(ProfileLines* lines, const std::map<SettingId, Wanted>& choice,
                     const std::string& header);
