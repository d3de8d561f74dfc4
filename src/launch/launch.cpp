#include "launch/launch.h"

#include "console/console_out.h"
#include "console/screens.h"

std::string LaunchFailureReason(const platform::LaunchResult& result) {
  using platform::LaunchError;
  switch (result.error) {
    case LaunchError::kNone:
      return std::string();
    case LaunchError::kFileNotFound:
      return "file not found";
    case LaunchError::kPathNotFound:
      return "path not found";
    case LaunchError::kAccessDenied:
      return "access denied";
    case LaunchError::kNotValidProgram:
      return "not a valid program";
    case LaunchError::kOutOfMemory:
      return "out of memory";
    case LaunchError::kNoAssociation:
      return "no program is associated with this file";
    case LaunchError::kSharingViolation:
      return "sharing violation";
    case LaunchError::kOther:
      break;
  }
  return "error " + std::to_string(result.code);
}

void CountDownAndLaunch(const LaunchSettings& settings) {
  ConsoleOutput& out = ConsoleOut();
  out.Write("  ...done!\r\nLaunch ");
  out.Write(settings.ProgName);
  out.Write(' ');
  out.Write(settings.ProgParams);
  out.WriteLine();
  if (!settings.ProgDirectory.empty()) {
    out.Write("in ");
    out.Write(settings.ProgDirectory);
    out.Write("\r\n");
    out.WriteLine();
  }

  // Each line comes before its second, so "1" is followed by a full wait.
  for (std::int32_t remaining = settings.Delay; remaining >= 1; --remaining) {
    out.Write(remaining);
    out.Write(" second remain...");
    out.WriteLine();
    platform::Os().SleepMilliseconds(1000);
  }
  out.Write("...execution!", 20);
  out.WriteLine();

  platform::LaunchResult result = platform::Os().Launch(
      settings.ProgName.c_str(), settings.ProgParams.c_str(),
      settings.ProgDirectory.c_str());
  if (result.error != platform::LaunchError::kNone) {
    ShowError("Launch failed: " + LaunchFailureReason(result) + "!");
  }
}
