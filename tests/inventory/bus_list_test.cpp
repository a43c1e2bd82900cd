#include "core/inventory/bus_list.h"

#include "inventory_test_util.h"

#include <gtest/gtest.h>

namespace terrix {
namespace {

using testing::MakeCollision;
using testing::MakeRecord;

std::vector<int> Stations(const CBusList& list) {
    std::vector<int> stations;
    for (uint32_t i = 0; i < list.Count(); ++i) {
        stations.push_back(list.GetAt(i)->iaStation);
    }
    return stations;
}

TEST(BusList, AddUpToCapacityThenFailsLeavingListAndRecordUnchanged) {
    CBusList list;
    for (uint32_t i = 0; i < CBusList::kCapacity; ++i) {
        ASSERT_TRUE(list.Add(MakeRecord(static_cast<uint16_t>(i), static_cast<uint8_t>(i))));
    }
    EXPECT_TRUE(list.IsFull());
    auto extra = MakeCollision(5);
    ModuleRecord* const extraPtr = extra.get();
    EXPECT_FALSE(list.Add(std::move(extra)));
    EXPECT_EQ(extra.get(), extraPtr); // still the caller's
    EXPECT_EQ(list.Count(), 256u);
    EXPECT_EQ(list.CollisionCount(), 0u);
    EXPECT_EQ(list.GetAt(255)->SerialNo(), 255);
    EXPECT_EQ(list.GetAt(256), nullptr);
    EXPECT_FALSE(list.Add(nullptr));
}

TEST(BusList, LookupsReturnTheEarlierRecordOfAStation) {
    CBusList list;
    EXPECT_EQ(list.GetAt(0), nullptr);
    list.Add(MakeRecord(100, 7));
    list.Add(MakeRecord(200, 7));
    list.Add(MakeRecord(300, 8));
    ModuleRecord* found = nullptr;
    EXPECT_EQ(list.IndexOfStation(7, &found), 0);
    EXPECT_EQ(found->SerialNo(), 100);
    EXPECT_EQ(list.FindByStation(7)->SerialNo(), 100);
    EXPECT_EQ(list.IndexOfSerial(300, &found), 2);
    EXPECT_EQ(found->iaStation, 8);
    EXPECT_EQ(list.IndexOfStation(9, &found), -1);
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(list.FindBySerial(1), nullptr);
    // A stable sort keeps the two records of station 7 in their order.
    list.Sort(false);
    EXPECT_EQ(list.FindByStation(7)->SerialNo(), 100);
}

TEST(BusList, RemovingKeepsOrderAndHandsRecordBack) {
    CBusList list;
    list.Add(MakeRecord(1, 10));
    EXPECT_EQ(list.RemoveAt(1), nullptr);
    auto only = list.RemoveAt(0);
    ASSERT_NE(only, nullptr);
    EXPECT_EQ(only->SerialNo(), 1);
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(list.GetAt(0), nullptr);

    for (uint8_t s : {1, 2, 3, 4}) {
        list.Add(MakeRecord(s * 100, s));
    }
    EXPECT_NE(list.RemoveByStation(2), nullptr);
    EXPECT_NE(list.RemoveBySerial(400), nullptr);
    EXPECT_EQ(list.RemoveBySerial(400), nullptr);
    EXPECT_EQ(list.RemoveByStation(99), nullptr);
    EXPECT_EQ(Stations(list), (std::vector<int>{1, 3}));
}

TEST(BusList, CollisionCountFollowsAddReplaceRemoveClearAndMerge) {
    CBusList list;
    list.Add(MakeCollision(3));
    list.Add(MakeCollision(4));
    list.Add(MakeRecord(10, 5));
    EXPECT_EQ(list.CollisionCount(), 2u);

    EXPECT_TRUE(list.ReplaceByStation(3, MakeRecord(11, 3)));
    EXPECT_EQ(list.CollisionCount(), 1u);
    EXPECT_EQ(list.GetAt(0)->SerialNo(), 11); // same position
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
    EXPECT_EQ(list.CollisionCount(), 1u);
    EXPECT_EQ(other.CollisionCount(), 1u);
    EXPECT_EQ(other.Count(), 1u);

    list.Clear();
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(list.CollisionCount(), 0u);
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
    EXPECT_EQ(Stations(list), (std::vector<int>{30, 40, 50, 60}));
    ASSERT_EQ(other.Count(), 2u);
    EXPECT_EQ(other.GetAt(0)->iaStation, 7);
    EXPECT_EQ(other.GetAt(1)->iaStation, 31);
    EXPECT_EQ(other.GetAt(2), nullptr);
}

TEST(BusList, MergeIntoFullListLeavesTheRestInTheOtherList) {
    CBusList list;
    for (uint32_t i = 0; i < CBusList::kCapacity - 1; ++i) {
        list.Add(MakeRecord(static_cast<uint16_t>(i), 1));
    }
    CBusList other;
    other.Add(MakeRecord(5000, 2));
    other.Add(MakeRecord(5001, 3));
    other.Add(MakeRecord(5002, 4));
    EXPECT_FALSE(list.MergeFrom(other));
    EXPECT_EQ(list.Count(), 256u);
    EXPECT_NE(list.FindBySerial(5000), nullptr);
    ASSERT_EQ(other.Count(), 2u);
    EXPECT_EQ(other.GetAt(0)->SerialNo(), 5001);
    EXPECT_EQ(other.GetAt(1)->SerialNo(), 5002);
}

} // namespace
} // namespace terrix
