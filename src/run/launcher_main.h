#pragma once

/// The whole run: banner, help switch, settings, countdown and launch.
/// Ends the process on every path.
[[noreturn]] void LauncherMain();
