#include "platform/platform.h"
#include "run/launcher_main.h"

int main(int argc, char** argv) {
  platform::SetMainArguments(argc, argv);
  LauncherMain();
}
