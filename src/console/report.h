// The last-resort report of an error nothing else handled.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "console/errors.h"

/// The report's text, without its final line end, cut to 1,024 bytes.
std::string FormatReport(std::string_view class_name, std::string_view module,
                         std::uint32_t offset, std::string_view message);

/// The file name of `path` without its directory.
std::string_view BaseName(std::string_view path);

/// Writes the report and ends the process with exit code 1.
[[noreturn]] void ReportUnhandledError(const Exception& error);
