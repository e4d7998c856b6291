#include "ui/TreeLooks.h"

#include "treeoptions/OptionImages.h"

int RefreshedCheckImage(const SettingEntry& setting, bool recommended, bool off,
                        int currentImage, bool byPolicy) {
  if (byPolicy) return ImagePolicy;
  if (off) return ImageCheckedDisabled;
  if (setting.expertOnly) {
    // An unlocked expert setting is chosen when recommended; a locked one
    // stays locked, and one that was off and is on again is locked again, as
    // a fresh build shows it.
    if (!IsCheckEnabledImage(currentImage)) return ImageUncheckedDisabled;
    return recommended ? ImageCheckedAttention : ImageUnchecked;
  }
  return recommended ? ImageCheckedAttention : ImageUnchecked;
}

ProfileChoice ChoiceFromProfile(int currentImage, bool wantedOff) {
  if (currentImage == ImageUncheckedDisabled)
    return wantedOff ? ProfileChoice::kLocked : ProfileChoice::kKeep;
  const bool enabled = IsCheckEnabledImage(currentImage) || IsRadioEnabledImage(currentImage);
  if (!enabled || wantedOff == IsChosenImage(currentImage)) return ProfileChoice::kKeep;
  return wantedOff ? ProfileChoice::kChoose : ProfileChoice::kUnchoose;
}
