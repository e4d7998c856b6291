#pragma once
// How the tree shows a check setting after a status check: the image index
// its item gets, from the catalogue's flags, whether the function is already
// off, and the image it shows now. Recommended: on this machine (a setting
// that would stop its updates is not).

#include "engine/SettingCatalogue.h"

// A setting a Group Policy decides shows the policy's picture whatever else
// holds: it cannot be chosen and is never recommended.
int RefreshedCheckImage(const SettingEntry& setting, bool recommended, bool off, int currentImage,
                        bool byPolicy = false);

// What loading a profile does to a setting's item: its off entries are
// chosen and the rest unchosen; an item that is off already keeps its
// looks, and a locked expert setting stays locked (kLocked: it was wanted).
enum class ProfileChoice { kKeep, kChoose, kUnchoose, kLocked };
ProfileChoice ChoiceFromProfile(int currentImage, bool wantedOff);
