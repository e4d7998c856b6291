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

// The "[Service General Setting]" lines of one applied template's copy.
struct PolicyTemplate {
  std::string file;  // full path
  std::vector<std::string> lines;
};

// The copies of the applied security templates,
// %SystemRoot%\security\templates\policies\gpt*.inf and gpt*.dom, highest
// number first: Windows applies them lowest number first, so the first
// that names a service decides its start type.
std::vector<PolicyTemplate> ReadPolicyTemplates(SystemAccess& system);

// The start type the first template naming the service sets: false when none
// names it with a mode of 2, 3 or 4. *file gets the template's path.
bool FindPolicyServiceMode(const std::vector<PolicyTemplate>& templates, const char* service,
                           DWORD* mode, std::string* file);

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

// The entries of the local policy's registry file, Registry.pol in
// System32\GroupPolicy\Machine or ...\User; nothing for a file missing or
// not read whole. *file gets the file's path.
std::vector<PolicyFileValue> ReadLocalPolicyFile(bool machine, std::string* file);

// The value the entries set under the key, if any: the last entry for it,
// unless a later deletion entry takes it back.
bool FindPolicyFileValue(const std::vector<PolicyFileValue>& values, const char* key,
                         const char* name, PolicyFileValue* value);
