#include "core/inventory/bus_list.h"

#include "inventory_test_util.h"

#include <gtest/gtest.h>

namespace terrix {
namespace {

using namespace terrix::testing;

TEST(BusList, AddAndMergeUpToCapacityThenFailLeavingListAndRecordUnchanged) {
    CBusList list;
    for (uint32_t i = 0; i < CBusList::kCapacity - 1; ++i) {
        ASSERT_TRUE(list.Add(MakeRecord(static_cast<uint16_t>(i), static_cast<uint8_t>(i))));
    }
    EXPECT_FALSE(list.IsFull());
    // A merge into the last free place moves one record and leaves the rest in the other list.
    CBusList other;
    for (uint16_t serial : {5000, 5001, 5002}) {
        other.Add(MakeRecord(serial, 2));
    }
    EXPECT_FALSE(list.MergeFrom(other));
    EXPECT_EQ(SerialStations(other), (Pairs{{5001, 2}, {5002, 2}}));
    EXPECT_TRUE(list.IsFull());
    auto extra = MakeCollision(5);
    ModuleRecord* const extraPtr = extra.get();
    EXPECT_FALSE(list.Add(std::move(extra)));
    EXPECT_EQ(extra.get(), extraPtr); // still the caller's
    EXPECT_EQ(std::make_tuple(list.Count(), list.CollisionCount()), std::make_tuple(256u, 0u));
    EXPECT_EQ(list.GetAt(3)->SerialNo(), 5000) << "sorted in by station";
    EXPECT_EQ(list.GetAt(256), nullptr);
    EXPECT_FALSE(list.Add(nullptr));
}

TEST(BusList, LookupsReturnTheEarlierRecordAndSortsKeepTheOrderOfEqualKeys) {
    CBusList list;
    EXPECT_EQ(list.GetAt(0), nullptr);
    for (const auto& [serial, station] : Pairs{{300, 8}, {200, 7}, {100, 7}, {200, 6}}) {
        list.Add(MakeRecord(static_cast<uint16_t>(serial), static_cast<uint8_t>(station)));
    }
    ModuleRecord* found = nullptr;
    EXPECT_EQ(list.IndexOfStation(7, &found), 1);
    EXPECT_EQ(found->SerialNo(), 200);
    EXPECT_EQ(list.IndexOfSerial(200, &found), 1);
    EXPECT_EQ(found->iaStation, 7);
    EXPECT_EQ(list.FindBySerial(100)->iaStation, 7);
    EXPECT_EQ(list.IndexOfStation(9, &found), -1);
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(list.FindBySerial(1), nullptr);
    list.Sort(false);
    EXPECT_EQ(SerialStations(list), (Pairs{{200, 6}, {200, 7}, {100, 7}, {300, 8}}));
    EXPECT_EQ(list.FindByStation(7)->SerialNo(), 200);
    list.Sort(true);
    EXPECT_EQ(SerialStations(list), (Pairs{{100, 7}, {200, 6}, {200, 7}, {300, 8}}));

    // Enough records with equal keys for an unstable sort to reorder them: the other key, falling in
    // insertion order, must still fall after sorting.
    for (const bool bySerial : {false, true}) {
        CBusList many;
        for (int i = 0; i < 40; ++i) {
            many.Add(MakeRecord(static_cast<uint16_t>(bySerial ? i % 3 : 1000 - i),
                                static_cast<uint8_t>(bySerial ? 100 - i : i % 3)));
        }
        many.Sort(bySerial);
        const Pairs order = SerialStations(many);
        for (size_t k = 1; k < order.size(); ++k) {
            const auto key = [&](size_t at) {
                const auto [serial, station] = order[at];
                return bySerial ? std::pair(serial, -station) : std::pair(station, -serial);
            };
            EXPECT_LT(key(k - 1), key(k)) << (bySerial ? "by serial" : "by station") << " at " << k;
        }
    }
}

TEST(BusList, RemovingKeepsOrderAndHandsRecordBack) {
    CBusList list;
    list.Add(MakeRecord(1, 10));
    EXPECT_EQ(list.RemoveAt(1), nullptr);
    auto only = list.RemoveAt(0);
    ASSERT_NE(only, nullptr);
    EXPECT_EQ(only->SerialNo(), 1);
    EXPECT_EQ(list.Count(), 0u);

    for (uint8_t s : {1, 2, 3, 4}) {
        list.Add(MakeRecord(s * 100, s));
    }
    EXPECT_NE(list.RemoveByStation(2), nullptr);
    EXPECT_NE(list.RemoveBySerial(400), nullptr);
    EXPECT_EQ(list.RemoveBySerial(400), nullptr);
    EXPECT_EQ(list.RemoveByStation(99), nullptr);
    EXPECT_EQ(SerialStations(list), (Pairs{{100, 1}, {300, 3}}));
}

TEST(BusList, CollisionCountFollowsAddReplaceRemoveClearAndMerge) {
    CBusList list;
    list.Add(MakeCollision(3));
    list.Add(MakeCollision(4));
    list.Add(MakeRecord(10, 5));
    EXPECT_EQ(list.CollisionCount(), 2u);

    EXPECT_TRUE(list.ReplaceByStation(3, MakeRecord(11, 3)));
    EXPECT_EQ(std::tuple(list.CollisionCount(), list.GetAt(0)->SerialNo()), std::tuple(1u, 11)) << "in place";
    auto spare = MakeRecord(12, 99);
    EXPECT_FALSE(list.ReplaceByStation(99 + 1, std::move(spare)));
    EXPECT_NE(spare, nullptr);

    EXPECT_TRUE(list.ReplaceByStation(5, MakeCollision(5)));
    EXPECT_EQ(list.CollisionCount(), 2u);
    list.RemoveByStation(4);
    EXPECT_EQ(list.CollisionCount(), 1u);

    // A record re-identified in place is counted by its new state.
    ModuleRecord* reidentified = list.FindByStation(5);
    reidentified->enModuleState = msIdentified;
    reidentified->stationInfo.wSerialNo = 12;
    EXPECT_EQ(list.CollisionCount(), 0u);

    CBusList other;
    other.Add(MakeCollision(8));
    other.Add(MakeCollision(9)); // same serial 65535: stays behind
    EXPECT_TRUE(list.MergeFrom(other));
    EXPECT_EQ(std::make_tuple(list.CollisionCount(), other.CollisionCount(), other.Count()),
              std::make_tuple(1u, 1u, 1u));

    list.Clear();
    EXPECT_EQ(std::make_tuple(list.Count(), list.CollisionCount()), std::make_tuple(0u, 0u));
}

TEST(BusList, MergeMovesUnknownSerialsAndSortsByStation) {
    CBusList list;
    list.Add(MakeRecord(1, 50));
    list.Add(MakeRecord(2, 40));
    CBusList other;
    other.Add(MakeRecord(2, 7)); // already here
    other.Add(MakeRecord(3, 30));
    other.Add(MakeRecord(4, 60));
    other.Add(MakeRecord(3, 31)); // the first serial 3 moves, so this one stays
    EXPECT_TRUE(list.MergeFrom(other));
    EXPECT_EQ(SerialStations(list), (Pairs{{3, 30}, {2, 40}, {1, 50}, {4, 60}}));
    EXPECT_EQ(SerialStations(other), (Pairs{{2, 7}, {3, 31}}));
    EXPECT_EQ(other.GetAt(2), nullptr);
}

} // namespace
} // namespace terrix
