#include "launch/launch_rules.h"

namespace {

bool IsSchemeByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
         (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

}  // namespace

bool LooksLikeUrl(std::string_view name) {
  if (name.substr(0, 7) == "mailto:") return true;
  std::size_t separator = name.find("://");
  if (separator == std::string_view::npos || separator == 0) return false;
  for (char c : name.substr(0, separator)) {
    if (!IsSchemeByte(c)) return false;
  }
  return true;
}
