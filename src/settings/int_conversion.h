// Converting the delay line to an integer.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

/// Leading blanks, then an optionally signed decimal in
/// -2147483647..2147483647 or "$" and up to eight significant hex digits
/// (32-bit two's complement), and nothing after. Looks no further than
/// the first NUL. Empty when the text is not such an integer.
std::optional<std::int32_t> ConvertInteger(std::string_view text);
