#pragma once
// The notice shown before the status of every setting is checked, with what
// the two possible results look like in the tree, and whether the machine is
// a domain member.

#include "ui/DialogBase.h"

class StatusInfoDialog : public DialogBase {
 public:
  // Whether the machine is a domain member, which the dialog says in a line,
  // and whether the program runs on a 64-bit Windows, which adds one below.
  explicit StatusInfoDialog(bool domainMember, bool x64 = false);

 protected:
  BOOL OnInitDialog() override;

 private:
  void AddX64Line();

  bool domainMember_;
  bool x64_;
};
