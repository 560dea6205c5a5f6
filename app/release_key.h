// The public key that signs releases, fixed when the updater is built (CMake
// variable UPDATE_PUBLIC_KEY): 128 hexadecimal digits, X then Y of an ECDSA
// P-256 point. Empty when releases are not signed. Each updater executable
// links the one release_key library that carries its key; nothing at run time
// can change or remove it.
#pragma once

const char* ReleasePublicKey();
