#include "PtrList.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{

// Writes its id into a shared log when destroyed, so a test sees the order in
// which the list lets go of its items.
struct Logged
{
    Logged(int id, std::vector<int>& log) : id(id), log(&log) {}
    Logged(const Logged&) = delete;
    Logged& operator=(const Logged&) = delete;
    ~Logged() { log->push_back(id); }

    int id;
    std::vector<int>* log;
};

void appendIds(PtrList<Logged>& list, std::vector<int>& log, std::initializer_list<int> ids)
{
    for (int id : ids)
        list.append(std::make_unique<Logged>(id, log));
}

std::vector<int> idsOf(const PtrList<Logged>& list)
{
    std::vector<int> ids;
    for (const Logged& item : list)
        ids.push_back(item.id);
    return ids;
}

} // namespace

TEST(PtrList, IteratesInAppendOrderAndCounts)
{
    std::vector<int> log;
    PtrList<Logged> list;
    appendIds(list, log, {7, 3, 9, 1});
    EXPECT_EQ(idsOf(list), (std::vector<int>{7, 3, 9, 1}));
    EXPECT_EQ(list.count(), 4u);
    EXPECT_FALSE(list.empty());
    ASSERT_NE(list.first(), nullptr);
    EXPECT_EQ(list.first()->id, 7);
}

TEST(PtrList, DestroysItemsFromHeadToTail)
{
    std::vector<int> log;
    {
        PtrList<Logged> list;
        appendIds(list, log, {1, 2, 3, 4});
        EXPECT_TRUE(log.empty());
    }
    EXPECT_EQ(log, (std::vector<int>{1, 2, 3, 4}));
}

TEST(PtrList, ClearDestroysHeadToTailAndListStaysUsable)
{
    std::vector<int> log;
    PtrList<Logged> list;
    appendIds(list, log, {1, 2, 3});
    list.clear();
    EXPECT_EQ(log, (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(list.empty());
    EXPECT_TRUE(list.begin() == list.end());

    appendIds(list, log, {4});
    EXPECT_EQ(idsOf(list), (std::vector<int>{4}));
    EXPECT_EQ(list.count(), 1u);
    list.clear();
    EXPECT_EQ(log, (std::vector<int>{1, 2, 3, 4}));
}

TEST(PtrList, MillionItemsAreDestroyedWithoutDeepRecursion)
{
    // A node chain freed recursively would need a million nested calls and
    // overflow the stack long before the end.
    constexpr std::size_t kItems = 1'000'000;
    std::size_t destroyed = 0;
    struct Counted
    {
        explicit Counted(std::size_t& counter) : destroyed(&counter) {}
        ~Counted() { ++*destroyed; }
        std::size_t* destroyed;
    };
    {
        PtrList<Counted> list;
        for (std::size_t i = 0; i < kItems; ++i)
            list.append(std::make_unique<Counted>(destroyed));
        EXPECT_EQ(list.count(), kItems);
        EXPECT_EQ(destroyed, 0u);
    }
    EXPECT_EQ(destroyed, kItems);
}

// Items the list makes in its own storage and items handed to it are owned
// alike: destroyed once each, in list order, through their own destructor.
TEST(PtrList, EmplacedAndAppendedItemsAreDestroyedInListOrder)
{
    struct Base
    {
        virtual ~Base() = default;
    };
    struct Derived final : Base
    {
        Derived(int id, std::vector<int>& log) : logged(id, log) {}
        Logged logged;
    };
    std::vector<int> log;
    {
        PtrList<Base> list;
        list.emplace<Derived>(1, log);
        list.append(std::make_unique<Derived>(2, log));
        for (int id = 3; id <= 2000; ++id)
            list.emplace<Derived>(id, log);
        EXPECT_EQ(list.count(), 2000u);
    }
    ASSERT_EQ(log.size(), 2000u);
    for (int i = 0; i < 2000; ++i)
        EXPECT_EQ(log[static_cast<std::size_t>(i)], i + 1);
}
