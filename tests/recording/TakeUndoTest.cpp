// A take over a long animation in the reference host: the keys in its range that it did not
// set go, the keys outside stay as they were, and undo and redo bring back every key exactly,
// bit for bit, in one step.
#include "RefHost.h"
#include "RefNode.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <map>
#include <vector>

namespace qvn::test {
namespace {

using host::Matrix;
using Keys = std::map<double, Matrix>;

// Every element of every key, bit for bit (a zero's sign included).
std::vector<uint64_t> bitsOf(const Keys& keys) {
    std::vector<uint64_t> bits;
    for (const auto& [time, matrix] : keys) {
        bits.push_back(std::bit_cast<uint64_t>(time));
        for (double element : matrix)
            bits.push_back(std::bit_cast<uint64_t>(element));
    }
    return bits;
}

Matrix pose(double x, double y) {
    Matrix m{1, 0, 0, x, 0, 1, 0, y, 0, 0, 1, 0, 0, 0, 0, 1};
    return m;
}

class TakeUndoTest : public ::testing::Test {
protected:
    // Frames 0 to 5999 at 60 per second, and beside each of frames 1000 to 2999 a key a quarter
    // frame later, as a take at another rate leaves them. Some keys hold a negative zero.
    void SetUp() override {
        node = host.scene.createNode("camera");
        for (int frame = 0; frame < 6000; ++frame) {
            node->setLocalTransform(frame / 60.0, pose(frame, frame % 7 == 0 ? -0.0 : 1.0));
            if (frame >= 1000 && frame < 3000)
                node->setLocalTransform((frame + 0.25) / 60.0, pose(-frame, 2.0));
        }
        original = node->transformKeys();
        ASSERT_EQ(original.size(), 8000u);
    }
    // Keys the node at `time` and notes the key in `set`.
    void key(Keys& set, double time, const Matrix& value) {
        node->setLocalTransform(time, value);
        set[time] = value;
    }
    // The original keys outside `from` to `to`, and the keys `set` over them.
    Keys replaced(double from, double to, const Keys& set) const {
        Keys expected;
        for (const auto& [time, matrix] : original)
            if (time < from || time > to)
                expected[time] = matrix;
        expected.insert(set.begin(), set.end());
        return expected;
    }

    host::RefHost host;
    host::RefNode* node = nullptr;
    Keys original;
};

TEST_F(TakeUndoTest, ATakeReplacesItsRangeAndUndoAndRedoAreExact) {
    const int first = 1200;
    const int last = 2400;
    host.beginHold("Take");
    Keys set;
    for (int frame = first; frame <= last; ++frame) {
        // Half the keys come back unchanged, a negative zero comes back positive, the rest move.
        Matrix value = original.at(frame / 60.0);
        if (frame % 2 == 1)
            value = pose(frame * 2.0, 3.0);
        else if (value[7] == 0.0)
            value[7] = 0.0;
        key(set, frame / 60.0, value);
    }
    // A key between frames, new to the node, and one frame keyed a second time.
    key(set, 1300.5 / 60.0, pose(5, 5));
    key(set, 1500 / 60.0, pose(6, 6));
    host.acceptHold();
    ASSERT_EQ(host.undoStack.stepCount(), 1);
    EXPECT_EQ(host.undoStack.stepName(0), "Take");

    const Keys after = node->transformKeys();
    EXPECT_EQ(bitsOf(after), bitsOf(replaced(first / 60.0, last / 60.0, set)));

    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(host.undo());
        EXPECT_EQ(bitsOf(node->transformKeys()), bitsOf(original)) << round;
        ASSERT_TRUE(host.undoStack.redo());
        EXPECT_EQ(bitsOf(node->transformKeys()), bitsOf(after)) << round;
    }
}

// An operation that keys backwards, or jumps about, replaces the same range as one going
// forward, and its undo still takes the keys set twice back to what was there before both.
TEST_F(TakeUndoTest, KeysSetOutOfOrderReplaceTheirRangeAndUndoInOneStep) {
    host.beginHold("Resimulating");
    Keys set;
    for (int frame = 2600; frame >= 900; frame -= 3)
        key(set, frame / 60.0, pose(0, frame));
    for (int frame = 1500; frame <= 1800; frame += 30)
        key(set, frame / 60.0, pose(1, frame));
    host.acceptHold();
    ASSERT_EQ(host.undoStack.stepCount(), 1);

    // The range runs from the earliest key set (frame 902) to the latest.
    const Keys expected = replaced(902 / 60.0, 2600 / 60.0, set);
    EXPECT_EQ(bitsOf(node->transformKeys()), bitsOf(expected));

    ASSERT_TRUE(host.undo());
    EXPECT_EQ(bitsOf(node->transformKeys()), bitsOf(original));
    ASSERT_TRUE(host.undoStack.redo());
    EXPECT_EQ(bitsOf(node->transformKeys()), bitsOf(expected));
    // A second operation on top undoes on its own, leaving the first one's keys.
    host.beginHold("Take");
    node->setLocalTransform(10.0, pose(9, 9));
    host.acceptHold();
    ASSERT_TRUE(host.undo());
    EXPECT_EQ(bitsOf(node->transformKeys()), bitsOf(expected));
    ASSERT_TRUE(host.undo());
    EXPECT_EQ(bitsOf(node->transformKeys()), bitsOf(original));
}

} // namespace
} // namespace qvn::test
