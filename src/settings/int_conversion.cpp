#include "settings/int_conversion.h"

namespace {

constexpr std::uint32_t kDecimalLimit = 2147483647;

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

void IntegerScanner::Feed(std::string_view piece) {
  for (char byte : piece) {
    if (ended_ || state_ == State::kRejected) return;
    if (!FeedByte(byte)) state_ = State::kRejected;
  }
}

bool IntegerScanner::FeedByte(char byte) {
  if (byte == '\0') {
    ended_ = true;
    return true;
  }
  switch (state_) {
    case State::kBlanks:
      if (byte == ' ') return true;
      if (byte == '$') {
        state_ = State::kDollar;
        return true;
      }
      if (byte == '-' || byte == '+') {
        negative_ = byte == '-';
        state_ = State::kSign;
        return true;
      }
      [[fallthrough]];
    case State::kSign:
    case State::kDecimal: {
      if (byte < '0' || byte > '9') return false;
      state_ = State::kDecimal;
      auto digit = static_cast<std::uint32_t>(byte - '0');
      if (value_ > (kDecimalLimit - digit) / 10) return false;
      value_ = value_ * 10 + digit;
      return true;
    }
    case State::kDollar:
    case State::kHex: {
      int digit = HexDigitValue(byte);
      if (digit < 0) return false;
      state_ = State::kHex;
      if (hex_digits_ > 0 || digit != 0) ++hex_digits_;
      value_ = value_ << 4 | static_cast<std::uint32_t>(digit);
      return hex_digits_ <= 8;
    }
    case State::kRejected:
      break;
  }
  return false;
}

std::optional<std::int32_t> IntegerScanner::Result() const {
  switch (state_) {
    case State::kDecimal:
      return negative_ ? -static_cast<std::int32_t>(value_)
                       : static_cast<std::int32_t>(value_);
    case State::kHex:
      return static_cast<std::int32_t>(value_);
    default:  // nothing but blanks, a sign or "$", or rejected
      return std::nullopt;
  }
}

std::optional<std::int32_t> ConvertInteger(std::string_view text) {
  IntegerScanner scanner;
  scanner.Feed(text);
  return scanner.Result();
}
