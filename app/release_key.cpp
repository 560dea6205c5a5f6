#include "app/release_key.h"

#ifndef UPDATE_PUBLIC_KEY
#error "UPDATE_PUBLIC_KEY must be defined (empty for unsigned releases)"
#endif

const char* ReleasePublicKey() { return UPDATE_PUBLIC_KEY; }
