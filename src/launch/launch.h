// Announcing, counting down and launching.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"
#include "settings/settings.h"

/// Announces the launch, counts `Delay` seconds down one line a second and
/// hands the program to the OS. Ends on the error screen when the launch
/// fails; returns after a launch.
void CountDownAndLaunch(const LaunchSettings& settings);

/// The words the error screen uses for a failed launch.
std::string LaunchFailureReason(const platform::LaunchResult& result);
