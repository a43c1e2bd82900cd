#pragma once
// How far a broker has acknowledged a module's records, kept beside its measurement files as
// "<serial>.Published": per destination (broker and topic prefix), the file the records belong to (the time
// of its first record) and the number of records from the start of that file that the destination has
// acknowledged. A logger that once published to a test broker still sends everything to the real one.
// Written atomically, so a kill or a power loss leaves the old or the new cursor; a missing or damaged cursor
// counts as nothing acknowledged, which sends records again rather than losing any.
//
//   [Published 1]
//   Broker=broker.example.org:8883/terrix/dam
//   File=2026-12-07T04:00:00
//   Acknowledged=1234

#include <cstdint>
#include <string>

namespace terrix {

struct PublishCursor {
    std::string fileStart; // empty: no record acknowledged yet
    uint32_t acknowledged = 0;

    bool operator==(const PublishCursor&) const = default;
};

std::string PublishCursorPath(const std::string& directory, uint16_t serial);
// `destination` names broker and prefix ("host:port/prefix").
PublishCursor ReadPublishCursor(const std::string& path, const std::string& destination);
// Replaces the destination's cursor and keeps the others. False with the errno value in *error; the previous
// cursors are then still there.
bool WritePublishCursor(const std::string& path, const std::string& destination, const PublishCursor& cursor,
                        int* error = nullptr);

} // namespace terrix
