#include "app/release_key.h"

#ifndef UPDATE_PUBLIC_KEY
#error "UPDATE_PUBLIC_KEY must be defined (empty for unsigned releases)"
#endif
#ifndef UPDATE_REQUIRE_FRESHNESS
#error "UPDATE_REQUIRE_FRESHNESS must be defined (0 or 1)"
#endif

const char* ReleasePublicKey() { return UPDATE_PUBLIC_KEY; }

bool ReleaseRequiresFreshness() { return UPDATE_REQUIRE_FRESHNESS != 0; }
