#include "settings/int_conversion.h"

namespace {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::int32_t> ConvertHex(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  std::uint32_t value = 0;
  int significant = 0;
  for (char c : digits) {
    int digit = HexDigitValue(c);
    if (digit < 0) return std::nullopt;
    if (significant > 0 || digit != 0) ++significant;
    if (significant > 8) return std::nullopt;
    value = value << 4 | static_cast<std::uint32_t>(digit);
  }
  return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> ConvertDecimal(std::string_view digits,
                                           bool negative) {
  if (digits.empty()) return std::nullopt;
  constexpr std::int64_t kLimit = 2147483647;
  std::int64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > kLimit) return std::nullopt;
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

}  // namespace

std::optional<std::int32_t> ConvertInteger(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::size_t blanks = text.find_first_not_of(' ');
  if (blanks == std::string_view::npos) return std::nullopt;
  text.remove_prefix(blanks);

  if (text.front() == '$') return ConvertHex(text.substr(1));
  bool negative = text.front() == '-';
  if (negative || text.front() == '+') text.remove_prefix(1);
  return ConvertDecimal(text, negative);
}
