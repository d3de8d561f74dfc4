#include "run/launcher_main.h"

#include <new>
#include <stdexcept>

#include "console/errors.h"
#include "console/report.h"
#include "console/screens.h"
#include "launch/launch.h"
#include "platform/platform.h"
#include "run/command_line.h"
#include "settings/settings.h"

void LauncherMain() {
  WriteBanner();
  if (IsHelpSwitch(FirstArgument(platform::Os().Arguments()))) ShowHelp();
  try {
    LaunchSettings settings = ReadSettings();
    CountDownAndLaunch(settings);
  } catch (const Exception& error) {
    ReportUnhandledError(error);
  } catch (const std::bad_alloc&) {
    ReportUnhandledError(EOutOfMemory(CallerAddress()));
  } catch (const std::length_error&) {
    // A string past the address space's limit: out of memory all the same.
    ReportUnhandledError(EOutOfMemory(CallerAddress()));
  }
  EndProcess(0);
}
