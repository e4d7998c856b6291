#pragma once
// Registry data read as text: the bytes up to the first zero, or all of them
// when no zero follows.

#include <cstddef>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

std::string TextUpToZero(const BYTE* data, size_t size);
inline std::string TextUpToZero(const std::vector<BYTE>& data) {
  return TextUpToZero(data.data(), data.size());
}
