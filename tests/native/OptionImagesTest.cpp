// The image-index rules of the tree options control and the looks the
// settings tree gives after a status check.

#include <gtest/gtest.h>

#include "engine/SettingCatalogue.h"
#include "ui/TreeLooks.h"
#include "treeoptions/OptionImages.h"

namespace {

TEST(OptionImages, SetsOfEveryIndex) {
  // index: check, radio, checked, checkEnabled, radioSelected, radioEnabled, chosen
  const bool expected[kOptionImageCount][7] = {
      {1, 0, 0, 1, 0, 0, 0}, {1, 0, 1, 1, 0, 0, 1}, {0, 1, 0, 0, 0, 1, 0}, {0, 1, 0, 0, 1, 1, 1},
      {1, 0, 0, 0, 0, 0, 0}, {1, 1, 1, 0, 0, 0, 0}, {0, 1, 0, 0, 0, 0, 0}, {0, 1, 0, 0, 1, 0, 0},
      {0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0},
      {1, 0, 1, 1, 0, 0, 1}, {1, 1, 0, 0, 0, 0, 0}};
  for (int i = 0; i < kOptionImageCount; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(expected[i][0], IsCheckImage(i));
    EXPECT_EQ(expected[i][1], IsRadioImage(i));
    EXPECT_EQ(expected[i][2], IsCheckedImage(i));
    EXPECT_EQ(expected[i][3], IsCheckEnabledImage(i));
    EXPECT_EQ(expected[i][4], IsRadioSelectedImage(i));
    EXPECT_EQ(expected[i][5], IsRadioEnabledImage(i));
    EXPECT_EQ(expected[i][6], IsChosenImage(i));
  }
}

TEST(OptionImages, EnablingKeepsTheCheckedState) {
  EXPECT_EQ(ImageCheckedDisabled, CheckEnabledImage(ImageCheckedAttention, false));
  EXPECT_EQ(ImageChecked, CheckEnabledImage(ImageCheckedAttention, true));
  EXPECT_EQ(ImageUncheckedDisabled, CheckEnabledImage(ImageUnchecked, false));
  EXPECT_EQ(ImageUnchecked, CheckEnabledImage(ImageUncheckedDisabled, true));
  EXPECT_EQ(ImageChecked, CheckEnabledImage(ImageCheckedDisabled, true));
}

TEST(OptionImages, DisabledRadioNoLongerCountsAsSelected) {
  EXPECT_EQ(ImageCheckedDisabled, RadioEnabledImage(ImageRadioOn, false));
  EXPECT_FALSE(IsChosenImage(RadioEnabledImage(ImageRadioOn, false)));
  EXPECT_EQ(ImageRadioOn, RadioEnabledImage(ImageRadioOnDisabled, true));
  EXPECT_EQ(ImageRadioOff, RadioEnabledImage(ImageCheckedDisabled, true));
}

TEST(OptionImages, RadioGroupClearsEnabledAndDisablesTheRest) {
  EXPECT_EQ(ImageRadioOn, RadioGroupImage(ImageCheckedDisabled, true));
  EXPECT_EQ(ImageRadioOff, RadioGroupImage(ImageRadioOn, false));
  for (int other : {ImageRadioOffDisabled, ImageRadioOnDisabled, ImageCheckedDisabled, ImageCategory})
    EXPECT_EQ(ImageCheckedDisabled, RadioGroupImage(other, false)) << other;
  EXPECT_EQ(ImagePolicy, RadioGroupImage(ImagePolicy, false));
  EXPECT_EQ(ImagePolicy, RadioGroupImage(ImagePolicy, true));
}

struct Look {
  SettingId id;
  bool off;
  int current;
  int expected;
  bool byPolicy = false;
};

TEST(TreeLooks, RefreshedImageOfEveryKindOfCheckSetting) {
  const Look looks[] = {
      {4, true, ImageCheckedAttention, ImageCheckedDisabled},  // recommended, off
      {4, false, ImageUnchecked, ImageCheckedAttention},       // recommended, on: chosen again
      {23, false, ImageChecked, ImageUnchecked},               // not recommended: deselected
      {23, true, ImageUnchecked, ImageCheckedDisabled},
      {12, false, ImageUncheckedDisabled, ImageUncheckedDisabled},  // expert, locked
      {12, false, ImageUnchecked, ImageCheckedAttention},           // expert, unlocked
      {0, false, ImageCheckedDisabled, ImageUncheckedDisabled},     // expert, on again: locked
      {0, true, ImageUncheckedDisabled, ImageCheckedDisabled},
      {31, false, ImageChecked, ImageUnchecked},  // expert, unlocked, not recommended
      {31, false, ImageUncheckedDisabled, ImageUncheckedDisabled},
      // decided by a policy: its own picture, whether off, recommended or unlocked
      {4, false, ImageCheckedAttention, ImagePolicy, true},
      {4, true, ImageCheckedDisabled, ImagePolicy, true},
      {12, false, ImageUnchecked, ImagePolicy, true},
  };
  for (const Look& look : looks) {
    const SettingEntry& setting = *FindSetting(look.id);
    EXPECT_EQ(look.expected,
              RefreshedCheckImage(setting, setting.recommended, look.off, look.current, look.byPolicy))
        << "setting " << look.id << " off " << look.off << " from " << look.current;
  }
}

}  // namespace
