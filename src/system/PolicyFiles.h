#pragma once
// The files in which Windows keeps the policies it applies: the copies of
// the applied security templates (service start types) and the local
// policy's registry files. Read only; what an administrator put there is
// read as untrusted data, bounded, and anything not understood is passed
// over.

#include <string>
#include <vector>

#include "platform/WinTypes.h"

class SystemAccess;

// One line of a template's "[Service General Setting]" section,
// "Name",Mode,"SDDL" (quotes optional): true with the mode when it names the
// service and the mode is a number.
bool ParseServiceLine(const std::string& line, const char* service, DWORD* mode);

// The start type the applied security templates set for the service, from
// %SystemRoot%\security\templates\policies\gpt*.inf and gpt*.dom: Windows
// applies them lowest number first, so the highest-numbered file naming the
// service wins. False when none names it with a mode of 2, 3 or 4; *file
// gets the file's full path.
bool FindPolicyServiceMode(SystemAccess& system, const char* service, DWORD* mode,
                           std::string* file);

// One value a registry policy file sets.
struct PolicyFileValue {
  std::string key;
  std::string name;
  DWORD type;
  std::vector<BYTE> data;
};

// The entries of a registry policy file ("PReg", version 1, entries
// [key;name;type;size;data] in UTF-16LE). False, with nothing kept, for a
// file that does not follow the format to its end.
bool ParsePolicyRegistryFile(const std::vector<BYTE>& bytes, std::vector<PolicyFileValue>* values);

// The value the local policy's registry file (System32\GroupPolicy\Machine
// or User\Registry.pol) sets under the key, if any: the last entry for it,
// unless a later deletion entry takes it back. *file gets the file's path.
bool FindLocalPolicyValue(bool machine, const char* key, const char* name,
                          PolicyFileValue* value, std::string* file);
