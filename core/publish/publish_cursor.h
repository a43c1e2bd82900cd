#pragma once
// How far the broker has acknowledged a module's records, kept beside its measurement files as
// "<serial>.Published": the file the records belong to (the time of its first record) and the number of
// records from the start of that file that the broker has acknowledged. Written atomically, so a kill or a
// power loss leaves the old or the new cursor; a missing or damaged cursor counts as nothing acknowledged,
// which sends records again rather than losing any.

#include <cstdint>
#include <string>

namespace terrix {

struct PublishCursor {
    std::string fileStart; // empty: no record acknowledged yet
    uint32_t acknowledged = 0;

    bool operator==(const PublishCursor&) const = default;
};

std::string PublishCursorPath(const std::string& directory, uint16_t serial);
PublishCursor ReadPublishCursor(const std::string& path);
// False with the errno value in *error; the previous cursor is then still there.
bool WritePublishCursor(const std::string& path, const PublishCursor& cursor, int* error = nullptr);

} // namespace terrix
