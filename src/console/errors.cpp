#include "console/errors.h"

const void* CallerAddress() { return __builtin_return_address(0); }
