#include "util/Log.h"
#include "util/SingletonCollector.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string>& destroyed() {
    static std::vector<std::string> order;
    return order;
}

template <int N>
class Probe : public mvk::util::Singleton<Probe<N>> {
public:
    ~Probe() override { destroyed().push_back("probe" + std::to_string(N)); }
};

class SingletonTest : public ::testing::Test {
protected:
    void SetUp() override {
        TearDown();
        destroyed().clear();
    }
    void TearDown() override {
        if (auto* collector = mvk::util::SingletonCollector::existing())
            collector->destroyAll();
    }
};

TEST_F(SingletonTest, CollectorListsItselfFirstAndDestroysNewestFirstAndItselfLast) {
    Probe<1>::instance();
    Probe<2>::instance();
    Probe<1>::instance();
    Probe<3>::instance();
    auto* collector = mvk::util::SingletonCollector::existing();
    ASSERT_NE(collector, nullptr);
    ASSERT_EQ(collector->count(), 4);
    EXPECT_EQ(collector->entry(0), collector);
    EXPECT_EQ(collector->entry(1), Probe<1>::existing());
    EXPECT_EQ(collector->entry(2), Probe<2>::existing());
    collector->destroyAll();
    EXPECT_EQ(destroyed(), (std::vector<std::string>{"probe3", "probe2", "probe1"}));
    EXPECT_EQ(mvk::util::SingletonCollector::existing(), nullptr);
    EXPECT_EQ(Probe<1>::existing(), nullptr);
    // Use after the collector has gone builds a new one.
    Probe<2>::instance();
    ASSERT_NE(mvk::util::SingletonCollector::existing(), nullptr);
    EXPECT_EQ(mvk::util::SingletonCollector::existing()->count(), 2);
}

} // namespace
