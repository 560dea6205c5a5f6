#include "app/update_host.h"

#include "runtime/config.h"

#ifndef UPDATE_HOST
#error "UPDATE_HOST must be defined"
#endif

Text UpdateHost() {
#ifdef UPDATER_TEST_HOOKS
    const Text host = ReadEnvVar("UPDATER_HOST");
    if (!host.empty()) return host;
#endif
    return Text(UPDATE_HOST);
}
