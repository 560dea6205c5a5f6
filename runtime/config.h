// INI items and environment variables.
#pragma once

#include "runtime/value_types.h"

// Bytes <= 0x20 at the start of file, section and key are skipped; if any of
// them is then empty the result is empty (not the default).
Text ReadIniItem(const Text& file, const Text& section, const Text& key,
                 const Text& defaultValue = Text());
Text ReadEnvVar(const Text& name);  // empty when not set
