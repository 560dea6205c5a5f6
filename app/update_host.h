// The update server's host[:port], fixed when the updater is built (CMake
// variable UPDATE_HOST). An updater built with test hooks takes the
// environment variable UPDATER_HOST instead when it is set; a release has no
// such override.
#pragma once

#include "runtime/value_types.h"

Text UpdateHost();
