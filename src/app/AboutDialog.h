#pragma once
// The program title with its credits and no-warranty text, and the legend of
// the tree's pictures.

#include "ui/DialogBase.h"

class AboutDialog : public DialogBase {
 public:
  AboutDialog();

 protected:
  BOOL OnInitDialog() override;
};
