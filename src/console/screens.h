// The fixed screens and the ways the process ends.
#pragma once

#include <string_view>

#include "platform/platform.h"

void WriteBanner();
/// The settings file format, then the Enter prompt; never returns.
[[noreturn]] void ShowHelp();
/// "ERROR:" and `message`, then the Enter prompt; never returns.
[[noreturn]] void ShowError(std::string_view message);
/// Waits for one line of input, then ends with exit code 0.
[[noreturn]] void PressEnterAndHalt();
/// Writes out what is buffered, then ends with `exit_code`.
[[noreturn]] void EndProcess(int exit_code);

/// Reads one line of input and throws it away; returns at the end of input.
void DiscardInputLine(platform::Platform& os);
