#pragma once
// The modules of one port's bus: up to 256 owned module records, kept in station order, plus the
// known-modules list (serial numbers the user registered for collision resolution), created on first use.

#include "core/inventory/file_error.h"
#include "core/inventory/module_record.h"

#include <array>
#include <cstdint>
#include <memory>

namespace terrix {

class CBusList {
public:
    static constexpr uint32_t kCapacity = 256;

    CBusList();
    ~CBusList();
    CBusList(const CBusList&) = delete;
    CBusList& operator=(const CBusList&) = delete;

    uint32_t Count() const { return count_; }
    bool IsEmpty() const { return count_ == 0; }
    bool IsFull() const { return count_ >= kCapacity; }
    // Records in state msCollision. Counted from the records themselves, so it stays exact also when a
    // record in the list is re-identified in place.
    uint32_t CollisionCount() const;

    // Slots 0..Count()-1 always hold a record; nullptr for an index at or past Count().
    ModuleRecord* GetAt(uint32_t index) const;
    // First record in list order with that station / serial: its index, or -1. The record is also stored
    // in `record` when given (nullptr when none).
    int IndexOfStation(uint8_t station, ModuleRecord** record = nullptr) const;
    int IndexOfSerial(uint16_t serialNo, ModuleRecord** record = nullptr) const;
    ModuleRecord* FindByStation(uint8_t station) const;
    ModuleRecord* FindBySerial(uint16_t serialNo) const;

    // Appends the record, taking it. False when `record` is empty or the list is full; the record then
    // stays with the caller, untouched.
    bool Add(std::unique_ptr<ModuleRecord>&& record);
    // Puts the record in the slot of the first record with that station, deleting the old one. False when
    // no record has that station (the new record then stays with the caller).
    bool ReplaceByStation(uint8_t station, std::unique_ptr<ModuleRecord>&& record);
    // Takes the record out, closing the gap in order, and hands it to the caller: dropping the result
    // deletes it. Empty when nothing was removed.
    std::unique_ptr<ModuleRecord> RemoveAt(uint32_t index);
    std::unique_ptr<ModuleRecord> RemoveByStation(uint8_t station);
    std::unique_ptr<ModuleRecord> RemoveBySerial(uint16_t serialNo);

    // Ascending by wSerialNo (bySerial) or by iaStation; records with equal keys keep their order.
    void Sort(bool bySerial);
    // Moves every record of `other` whose serial number is not yet in this list over here, then sorts this
    // list by station. Records that find no room because this list is full stay in `other`, as do those
    // whose serial is already here. True when nothing stayed behind for want of room.
    bool MergeFrom(CBusList& other);
    // Deletes every record. The known-modules list is kept.
    void Clear();

    // Writes the list to the "BUS INFO" section of the settings file and every record that has a serial
    // number to its module file. False when a file could not be written (see LastFileError).
    bool Save();
    const InventoryFileError& LastFileError() const { return lastError_; }

    // The known-modules list: created and filled from "KNOWN MODULES" of the settings file on the first
    // call; later calls return it unchanged.
    CBusList* LoadKnownModules();
    // The known-modules list, or nullptr when it was not loaded.
    CBusList* KnownModules() const { return known_.get(); }
    // Adds a record for the serial, filled from its module file. Fails without a known-modules list, for a
    // serial above 65534 and when that list is full; with `checkDuplicates` a serial already known
    // succeeds without change.
    bool AddKnownModule(uint16_t serialNo, bool checkDuplicates);
    // Sorts the known-modules list by serial and writes it to "KNOWN MODULES"; true without a list.
    bool SaveKnownModules();
    // Deletes the known-modules list; true when there was one.
    bool FreeKnownModules();

private:
    std::array<std::unique_ptr<ModuleRecord>, kCapacity> slots_;
    uint32_t count_ = 0;
    std::unique_ptr<CBusList> known_;
    InventoryFileError lastError_;
};

} // namespace terrix
