#include "platform/platform.h"

namespace platform {
namespace {
Platform* g_override = nullptr;
}  // namespace

Platform& Os() { return g_override ? *g_override : NativePlatform(); }

Platform* SetOsForTesting(Platform* replacement) {
  Platform* previous = g_override;
  g_override = replacement;
  return previous;
}

}  // namespace platform
