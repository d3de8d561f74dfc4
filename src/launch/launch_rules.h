// Launch rules the POSIX launcher shares with portable code and tests.
#pragma once

#include <string_view>

/// Whether `name` reads as a URL to hand to the desktop opener: a scheme of
/// letters, digits, '+', '-' or '.' before "://", or a "mailto:" address.
bool LooksLikeUrl(std::string_view name);
