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

// Lists of a model share one arena: each list still owns and destroys its
// own items, in its own order, while the arena outlives them all. Plain items
// handed in from outside are freed even though plain items made in the arena
// need no destruction (a leak shows in the sanitizer build).
TEST(PtrList, ListsSharingAnArenaKeepTheirOwnItemsAndOrder)
{
    ChunkArena arena;
    std::vector<int> log;
    {
        PtrList<Logged> first(arena);
        PtrList<Logged> second(arena);
        for (int id = 1; id <= 3000; ++id)
            (id % 2 ? first : second).emplace(id, log);
        appendIds(first, log, {9001});
        EXPECT_EQ(first.count(), 1501u);
        EXPECT_EQ(idsOf(second).front(), 2);
        second.clear();
        EXPECT_TRUE(second.empty());
        second.emplace(4, log);
        EXPECT_EQ(idsOf(second), std::vector<int>{4});
        ASSERT_EQ(log.size(), 1500u);
        EXPECT_EQ(log.front(), 2);
        EXPECT_EQ(log.back(), 3000);
        log.clear();
    }
    ASSERT_EQ(log.size(), 1502u); // second (declared last) goes first
    EXPECT_EQ(log[0], 4);
    EXPECT_EQ(log[1], 1);
    EXPECT_EQ(log[1501], 9001);

    struct Plain
    {
        int value = 0;
    };
    PtrList<Plain> plain(arena);
    for (int i = 0; i < 100000; ++i)
        plain.emplace().value = i;
    plain.append(std::make_unique<Plain>());
    int64_t sum = 0;
    for (const Plain& item : plain)
        sum += item.value;
    EXPECT_EQ(sum, int64_t{99999} * 100000 / 2);
}
