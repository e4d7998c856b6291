#pragma once
// Acts inside the modal loops the program under test enters (dialogs run
// modally, the popup menu): the action runs from a timer once the loop is
// dispatching messages.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

void RunSoon(std::function<void()> action);

// The visible dialog of this process with the given caption, or nullptr.
HWND FindDialog(const char* caption);
std::string ControlText(HWND dialog, int id);

// Once a popup menu of this process shows, closes it again.
void CloseMenuWhenShown();

// Once the dialog with the caption shows, records the texts of the given
// controls into *texts and then closes it by the command (IDOK, IDCANCEL) or,
// for 0, with the Escape key.
void CloseDialogWhenShown(const char* caption, int command, std::vector<int> controls = {},
                          std::vector<std::string>* texts = nullptr);
