#pragma once
// The notice shown before the status of every setting is checked, with what
// the two possible results look like in the tree, and whether the machine is
// a domain member.

#include "ui/DialogBase.h"

class StatusInfoDialog : public DialogBase {
 public:
  // Whether the machine is a domain member, which the dialog says in a line.
  explicit StatusInfoDialog(bool domainMember);

 protected:
  BOOL OnInitDialog() override;

 private:
  bool domainMember_;
};
