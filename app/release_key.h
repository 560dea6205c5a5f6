// The public keys that sign releases, fixed when the updater is built (CMake
// variable UPDATE_PUBLIC_KEY): each 128 hexadecimal digits, X then Y of an
// ECDSA P-256 point, several separated by commas while a vendor rotates its
// key. Empty when releases are not signed. Each updater executable links the
// one release_key library that carries its keys; nothing at run time can
// change or remove them.
#pragma once

const char* ReleasePublicKey();

// Whether a signed manifest must carry its publish and expiry times (CMake
// option UPDATE_REQUIRE_FRESHNESS); without, one that has none is accepted.
bool ReleaseRequiresFreshness();
