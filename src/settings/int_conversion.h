// Converting the delay line to an integer.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

/// Converts text fed to it in pieces, so that a huge line need not be held
/// whole: leading blanks, then an optionally signed decimal in
/// -2147483647..2147483647 or "$" and up to eight significant hex digits
/// (32-bit two's complement), and nothing after. A NUL ends what is looked
/// at.
class IntegerScanner {
 public:
  void Feed(std::string_view piece);
  /// Whether no further bytes can make the text convert.
  bool Rejected() const { return state_ == State::kRejected; }
  /// The value of everything fed so far, or empty if it does not convert.
  std::optional<std::int32_t> Result() const;

 private:
  enum class State { kBlanks, kSign, kDecimal, kDollar, kHex, kRejected };
  bool FeedByte(char byte);

  State state_ = State::kBlanks;
  bool negative_ = false;
  bool ended_ = false;  // a NUL was seen
  std::uint32_t value_ = 0;
  int hex_digits_ = 0;  // significant ones
};

/// The value of `text` by the rules of IntegerScanner, or empty.
std::optional<std::int32_t> ConvertInteger(std::string_view text);
