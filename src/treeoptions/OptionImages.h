#pragma once
// An option item keeps its kind and state in its image index and nowhere
// else. These sets and transitions are the whole definition of the kinds and
// states; the control only reads and writes indices.

enum OptionImage : int {
  ImageUnchecked = 0,
  ImageChecked = 1,
  ImageRadioOff = 2,
  ImageRadioOn = 3,
  ImageUncheckedDisabled = 4,
  ImageCheckedDisabled = 5,  // also every disabled radio item
  ImageRadioOffDisabled = 6,
  ImageRadioOnDisabled = 7,
  ImageBlank = 8,
  ImageCategory = 9,
  ImageCheckedAttention = 12,
  ImagePolicy = 13,  // a Group Policy decides it: shown, never chosen, of either kind
};

constexpr int kOptionImageCount = 14;

constexpr bool IsCheckImage(int i) {
  return i == 0 || i == 1 || i == 4 || i == 5 || i == 12 || i == 13;
}
constexpr bool IsRadioImage(int i) {
  return i == 2 || i == 3 || i == 5 || i == 6 || i == 7 || i == 13;
}
constexpr bool IsCheckedImage(int i) { return i == 1 || i == 5 || i == 12; }
constexpr bool IsCheckEnabledImage(int i) { return i == 0 || i == 1 || i == 12; }
constexpr bool IsRadioSelectedImage(int i) { return i == 3 || i == 7; }
constexpr bool IsRadioEnabledImage(int i) { return i == 2 || i == 3; }
constexpr bool IsChosenImage(int i) { return i == 1 || i == 3 || i == 12; }

constexpr int CheckedImage(bool checked) { return checked ? ImageChecked : ImageUnchecked; }

// SetCheckEnabled: keeps whether the item counts as checked.
constexpr int CheckEnabledImage(int current, bool enabled) {
  bool checked = IsCheckedImage(current);
  if (enabled) return checked ? ImageChecked : ImageUnchecked;
  return checked ? ImageCheckedDisabled : ImageUncheckedDisabled;
}

// SetRadioEnabled: a disabled radio item no longer counts as selected.
constexpr int RadioEnabledImage(int current, bool enabled) {
  if (!enabled) return ImageCheckedDisabled;
  return IsRadioSelectedImage(current) ? ImageRadioOn : ImageRadioOff;
}

// The image of one member of a radio group when another or it is selected:
// enabled ones clear to off, one a policy decides keeps its picture, anything
// else (disabled radio items, and any non-radio child of the group) shows as
// disabled.
constexpr int RadioGroupImage(int current, bool isTarget) {
  if (current == ImagePolicy) return ImagePolicy;
  if (isTarget) return ImageRadioOn;
  return IsRadioEnabledImage(current) ? ImageRadioOff : ImageCheckedDisabled;
}
