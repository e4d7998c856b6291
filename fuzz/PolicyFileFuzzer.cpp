// The input is a file an administrator controls, planted both as the local
// policy's Registry.pol and as the copy of an applied security template
// (the first byte picks whether the template is stored as UTF-16LE). Every
// setting's policy is then decided: nothing may crash, read out of bounds
// or be written, and no entry read from the file is larger than the file.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/FullFakeSystem.h"
#include "engine/PolicyPlan.h"
#include "platform/fake/FakeMachine.h"
#include "system/PolicyFiles.h"
#include "system/SystemAccess.h"

namespace {

std::string AsUtf16(const uint8_t* data, size_t size) {
  std::string bytes = "\xFF\xFE";
  for (size_t i = 0; i < size; ++i) bytes += {static_cast<char>(data[i]), '\0'};
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const bool wide = data[0] & 1;
  ++data;
  --size;
  fake::ResetMachine();
  MakeFullFakeSystem();
  auto& files = fake::Machine().fileContents;
  const std::string raw(reinterpret_cast<const char*>(data), size);
  files["c:\\windows\\system32\\grouppolicy\\machine\\registry.pol"] = raw;
  files["c:\\windows\\system32\\grouppolicy\\user\\registry.pol"] = raw;
  files["c:\\windows\\security\\templates\\policies\\gpt00000.inf"] =
      wide ? AsUtf16(data, size) : raw;
  const size_t changesBefore = fake::Machine().registry.Changes().size();
  SystemAccess system;
  PolicyView view(system);
  for (SettingId id = 0; id <= kLastSettingId; ++id) {
    PolicyDecision decision = view.Decide(id);
    if (decision.decided() && decision.source.empty()) __builtin_trap();
  }
  if (fake::Machine().registry.Changes().size() != changesBefore) __builtin_trap();
  std::vector<PolicyFileValue> values;
  if (ParsePolicyRegistryFile(std::vector<BYTE>(data, data + size), &values))
    for (const PolicyFileValue& value : values)
      if (value.data.size() > size || value.key.size() > size) __builtin_trap();
  return 0;
}
