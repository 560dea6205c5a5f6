// What a signed build remembers between runs (portable): the highest
// version it installed (the floor no manifest may go below) and the publish
// time of the newest manifest it accepted. The text is a few "name=value"
// lines; unknown names and unreadable values are skipped, so a damaged file
// only loses what it cannot say.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/value_types.h"

struct UpdateState {
    Text floor;                                  // a numeric version, or empty
    std::optional<std::int64_t> newestPublished;  // UTC seconds
};

UpdateState ParseUpdateState(const Text& text);
Text FormatUpdateState(const UpdateState& state);

// The state after `installedVersion` was put in place from a manifest
// published at `publishedAt` (none for a manifest without the field): the
// floor and the publish time only ever go up.
UpdateState AdvanceUpdateState(const UpdateState& state, const Text& installedVersion,
                               std::optional<std::int64_t> publishedAt);
