// The settings file: four positional lines.
#pragma once

#include <cstdint>
#include <string>

struct LaunchSettings {
  std::int32_t Delay = 0;  // seconds, 0 or more once read
  std::string ProgName;
  std::string ProgParams;
  std::string ProgDirectory;
};

inline constexpr char kSettingsFileName[] = "Tolvarin.ini";

/// Reads the settings file of the working directory. Ends the run on the
/// error screen when the file cannot be opened or the delay is negative;
/// throws EConvertError when the delay is not an integer.
LaunchSettings ReadSettings();

/// The message of the EConvertError for a delay line that does not convert.
std::string ConvertErrorMessage(const std::string& line);
