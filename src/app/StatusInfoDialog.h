#pragma once
// The notice shown before the status of every setting is checked, with what
// the two possible results look like in the tree.

#include "ui/DialogBase.h"

class StatusInfoDialog : public DialogBase {
 public:
  StatusInfoDialog();

 protected:
  BOOL OnInitDialog() override;
};
