#include "host/ParameterChanges.h"

#include <gtest/gtest.h>

namespace serivane::host {
namespace {

using namespace Steinberg;

std::vector<std::pair<int32, double>> pointsOf(Vst::IParamValueQueue& queue) {
    std::vector<std::pair<int32, double>> points;
    for (int32 i = 0; i < queue.getPointCount(); ++i) {
        int32 offset = -1;
        double value = -1.0;
        EXPECT_EQ(queue.getPoint(i, offset, value), kResultOk);
        points.emplace_back(offset, value);
    }
    return points;
}

TEST(ParamValueQueue, KeepsPointsInOffsetOrderAndReplacesARepeatedOffset) {
    ParamValueQueue queue(8);
    queue.reset(7);
    int32 index = -1;
    queue.addPoint(100, 0.1, index);
    queue.addPoint(10, 0.2, index);
    EXPECT_EQ(index, 0);
    queue.addPoint(50, 0.3, index);
    EXPECT_EQ(index, 1);
    queue.addPoint(10, 0.4, index);
    EXPECT_EQ(index, 0);
    using Points = std::vector<std::pair<int32, double>>;
    EXPECT_EQ(pointsOf(queue), (Points{{10, 0.4}, {50, 0.3}, {100, 0.1}}));
    EXPECT_EQ(queue.getParameterId(), 7u);

    int32 offset = 0;
    double value = 0.0;
    EXPECT_EQ(queue.getPoint(3, offset, value), kResultFalse);
    EXPECT_EQ(queue.getPoint(-1, offset, value), kResultFalse);
}

TEST(ParamValueQueue, RefusesPointsBeyondItsCapacity) {
    ParamValueQueue queue(2);
    int32 index = 0;
    EXPECT_EQ(queue.addPoint(0, 0.0, index), kResultOk);
    EXPECT_EQ(queue.addPoint(1, 0.5, index), kResultOk);
    EXPECT_EQ(queue.addPoint(2, 1.0, index), kResultFalse);
    EXPECT_EQ(queue.addPoint(1, 0.7, index), kResultOk) << "replacing needs no room";
    EXPECT_EQ(queue.getPointCount(), 2);
}

TEST(ParameterChanges, GivesOneQueuePerIdInOrderOfFirstUse) {
    ParameterChanges changes(4, 4);
    EXPECT_TRUE(changes.add(12, 0.5));
    EXPECT_TRUE(changes.add(3, 0.25));
    EXPECT_TRUE(changes.add(12, 0.75, 64));
    ASSERT_EQ(changes.getParameterCount(), 2);
    EXPECT_EQ(changes.getParameterData(0)->getParameterId(), 12u);
    EXPECT_EQ(changes.getParameterData(1)->getParameterId(), 3u);
    EXPECT_EQ(changes.getParameterData(0)->getPointCount(), 2);
    EXPECT_EQ(changes.getParameterData(2), nullptr);

    int32 index = -1;
    EXPECT_EQ(changes.addParameterData(3, index), changes.getParameterData(1));
    EXPECT_EQ(index, 1);
}

TEST(ParameterChanges, ClearingEmptiesTheBlockAndQueuesAreReusedEmpty) {
    ParameterChanges changes(2, 4);
    changes.add(1, 0.1);
    changes.add(2, 0.2);
    EXPECT_FALSE(changes.add(3, 0.3)) << "no third queue";
    changes.clear();
    EXPECT_EQ(changes.getParameterCount(), 0);
    EXPECT_TRUE(changes.add(3, 0.3));
    ASSERT_EQ(changes.getParameterCount(), 1);
    EXPECT_EQ(changes.getParameterData(0)->getParameterId(), 3u);
    EXPECT_EQ(changes.getParameterData(0)->getPointCount(), 1);
}

TEST(ParameterChanges, AnswersOnlyItsOwnInterfaces) {
    ParameterChanges changes(1, 1);
    void* found = nullptr;
    EXPECT_EQ(changes.queryInterface(Vst::IParameterChanges::iid, &found), kResultOk);
    EXPECT_EQ(found, static_cast<Vst::IParameterChanges*>(&changes));
    EXPECT_EQ(changes.queryInterface(FUnknown::iid, &found), kResultOk);
    EXPECT_EQ(changes.queryInterface(Vst::IParamValueQueue::iid, &found), kNoInterface);
    EXPECT_EQ(found, nullptr);
}

} // namespace
} // namespace serivane::host
