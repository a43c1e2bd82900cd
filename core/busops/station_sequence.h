#pragma once
// The order in which a scan probes stations: all of them (252 first, then 0..251), or only those of the
// previously saved bus list.

#include "core/inventory/bus_list.h"

#include <cstdint>

namespace terrix {

class StationSequence {
public:
    virtual ~StationSequence() = default;
    virtual uint32_t Progress() const = 0; // percent
    virtual uint8_t CurrentStation() const = 0;
    virtual uint16_t CurrentSerial() const = 0;
    virtual bool HasMore() const = 0;
    virtual void Next() = 0;
};

// 252, 0, 1, ..., 251.
class AllStationsSequence final : public StationSequence {
public:
    uint32_t Progress() const override { return (cursor_ - kFirst + 1) * 100 / (kEnd - kFirst + 1); }
    uint8_t CurrentStation() const override { return static_cast<uint8_t>(current_); }
    uint16_t CurrentSerial() const override { return kNoSerial; }
    bool HasMore() const override { return cursor_ < kEnd; }
    void Next() override;

private:
    static constexpr uint32_t kFirst = 0;
    static constexpr uint32_t kEnd = 253;
    uint32_t cursor_ = 0;
    uint32_t current_ = 252;
};

// The stations of a saved bus list, in its order, each station once: several records of one station (a
// module and the placeholder of an earlier failure there) would otherwise identify the same module twice.
class KnownStationsSequence final : public StationSequence {
public:
    explicit KnownStationsSequence(const CBusList& list);
    uint32_t Progress() const override { return count_ == 0 ? 100 : (index_ + 1) * 100 / count_; }
    uint8_t CurrentStation() const override { return station_; }
    uint16_t CurrentSerial() const override { return serial_; }
    bool HasMore() const override { return index_ < count_; }
    void Next() override;

private:
    void Load();

    const CBusList& list_;
    uint32_t count_;
    uint32_t index_ = 0;
    uint8_t station_ = 0xFF;
    uint16_t serial_ = 0xFFFF;
};

} // namespace terrix
