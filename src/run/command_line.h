// Splitting a command line into arguments, the Windows way.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

/// Splits `line` into tokens: bytes 0x01-0x20 separate, double quotes
/// group, no escapes, empty "" pairs before a token are skipped. The
/// text ends at its first NUL.
std::vector<std::string> SplitCommandLine(std::string_view line);

/// The argument after the program's name, or empty when there is none.
std::string FirstArgument(const platform::CommandLine& command_line);

/// Whether `argument` asks for the help screen.
bool IsHelpSwitch(std::string_view argument);
