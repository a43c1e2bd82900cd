#pragma once
// Collision resolution moves modules, addressed by serial number, from a crowded station to free ones and
// identifies them there until no collision is left; collision creation puts every known module on one
// station so that the next full scan and resolution renumber the whole bus.

#include "core/busops/progress.h"
#include "core/inventory/bus_list.h"
#include "core/platform/port_user.h"

#include <cstdint>

namespace terrix {

inline constexpr uint16_t kStationFree = 65534;
inline constexpr uint16_t kStationCollision = 65535;
inline constexpr uint8_t kMultiplexerStation = 252;

// Candidate serial numbers: a range (first..last, which ends after 65535), or the known-modules list.
class SerialSequence {
public:
    virtual ~SerialSequence() = default;
    virtual uint32_t Progress() const = 0;
    virtual uint16_t CurrentSerial() const = 0;
    virtual bool HasMore() const = 0;
    virtual void Next() = 0;
};

class SerialRangeSequence final : public SerialSequence {
public:
    SerialRangeSequence(uint16_t first, uint16_t last) : first_(first), last_(last), current_(first) {}
    uint32_t Progress() const override;
    uint16_t CurrentSerial() const override { return static_cast<uint16_t>(current_); }
    bool HasMore() const override { return current_ <= last_; }
    void Next() override;

private:
    // Counted in 32 bits, so that a range ending at 65535 ends instead of wrapping to 0.
    uint32_t first_;
    uint32_t last_;
    uint32_t current_;
};

class KnownSerialsSequence final : public SerialSequence {
public:
    explicit KnownSerialsSequence(const CBusList* known) : known_(known), count_(known ? known->Count() : 0) {}
    uint32_t Progress() const override { return count_ == 0 ? 100 : (index_ + 1) * 100 / count_; }
    uint16_t CurrentSerial() const override;
    bool HasMore() const override { return index_ < count_; }
    void Next() override;

private:
    const CBusList* known_;
    uint32_t count_;
    uint32_t index_ = 0;
};

struct ResolveOptions {
    uint16_t firstSerial = 0;
    uint16_t lastSerial = 0;
    bool useKnownList = false; // candidates from the known-modules list instead of the range
};

// Runs on an open port. False only when the work could not start (no open port).
bool ResolveCollisions(ComPortContext& portContext, CBusList& busList, const ResolveOptions& options,
                       const UnitLookup& lookup, const ProgressCallback& progress);

// Moves every module of the list (collision placeholders aside) to `station` and forgets the saved bus
// state, so that the next scan probes all stations. Refuses 251, 253, 254 and 255 (false, nothing sent).
bool CreateCollision(PortHandle port, const CBusList& busList, uint8_t station);
bool IsCollisionStationAllowed(uint8_t station);

} // namespace terrix
