// The fixed screens as the tests expect them, typed out on their own.
#pragma once

#include <string>

inline const std::string kEnterPrompt =
    "\r\n\r\n\r\n"
    "      \xDA\xC4\xC4\xC4\xC4\xC4\xBF\r\n"
    "Press \xB3"
    "Enter\xB3 to close this window...\r\n"
    "      \xC0\xC4\xC4\xC4\xC4\xC4\xD9\r\n"
    "\r\n";

inline std::string ErrorScreen(const std::string& message) {
  return "\r\nERROR:  " + message + "\r\n\r\n\r\n /? or ? to help.\r\n" +
         kEnterPrompt;
}
