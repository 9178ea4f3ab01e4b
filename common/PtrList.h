#pragma once

#include "ChunkArena.h"

#include <cstddef>
#include <iterator>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

// An ordered, owning, doubly linked list of object pointers. Items are only
// appended at the tail and walked from head to tail; destroying the list
// destroys each item, then its node, from head to tail. The nodes, and the
// items the list makes itself (emplace), are kept in chunks rather than
// allocated one by one: layouts hold millions of primitives, and an
// allocation per item would dominate loading and converting them. An empty
// list allocates nothing. The chunks are the list's own, or an arena the
// list's owner shares among many lists (which must outlive them), so that
// a model of many short lists fills a few large chunks.
template <typename T>
class PtrList
{
    // Destroys an item the way it was made: in the list's own chunks, or on
    // its own.
    struct ItemDeleter
    {
        bool inChunk = false;
        void operator()(T* item) const
        {
            if (inChunk)
                item->~T();
            else
                delete item;
        }
    };

    struct Node
    {
        std::unique_ptr<T, ItemDeleter> item;
        Node* prev = nullptr;
        Node* next = nullptr;
    };

public:
    template <typename Item, typename NodePtr>
    class BasicIterator
    {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = Item*;
        using reference = Item&;

        BasicIterator() = default;
        explicit BasicIterator(NodePtr node) : m_node(node) {}
        reference operator*() const { return *m_node->item; }
        pointer operator->() const { return m_node->item.get(); }
        BasicIterator& operator++()
        {
            m_node = m_node->next;
            return *this;
        }
        BasicIterator operator++(int)
        {
            BasicIterator old = *this;
            ++*this;
            return old;
        }
        friend bool operator==(const BasicIterator&, const BasicIterator&) = default;

    private:
        NodePtr m_node = nullptr;
    };
    using iterator = BasicIterator<T, Node*>;
    using const_iterator = BasicIterator<const T, const Node*>;

    PtrList() = default;
    explicit PtrList(ChunkArena& sharedChunks) : m_chunks(&sharedChunks) {}
    PtrList(const PtrList&) = delete;
    PtrList& operator=(const PtrList&) = delete;
    ~PtrList() { clear(); }

    // Takes ownership of `item` and appends it at the tail.
    void append(std::unique_ptr<T> item)
    {
        appendNode({item.release(), ItemDeleter{false}});
        ++m_itemsOnTheirOwn;
    }

    // Makes a new item of class U (T or derived from it) and appends it.
    template <typename U = T, typename... Args>
    U& emplace(Args&&... args)
    {
        static_assert(alignof(U) <= alignof(std::max_align_t));
        U* object = new (m_chunks->allocate(sizeof(U), alignof(U))) U(std::forward<Args>(args)...);
        appendNode({object, ItemDeleter{true}});
        return *object;
    }

    [[nodiscard]] std::size_t count() const { return m_count; }
    [[nodiscard]] bool empty() const { return m_count == 0; }
    [[nodiscard]] T* first() { return m_head ? m_head->item.get() : nullptr; }
    [[nodiscard]] const T* first() const { return m_head ? m_head->item.get() : nullptr; }

    iterator begin() { return iterator(m_head); }
    iterator end() { return iterator(); }
    const_iterator begin() const { return const_iterator(m_head); }
    const_iterator end() const { return const_iterator(); }

    // Destroys every node with its item, head to tail. In a shared arena
    // their memory stays until the arena dies.
    void clear()
    {
        // Items without destructors, all in chunks, need no walk: freeing
        // the chunks ends them.
        if (!std::is_trivially_destructible_v<T> || m_itemsOnTheirOwn > 0)
        {
            for (Node* node = m_head; node;)
            {
                Node* next = node->next;
                node->~Node();
                node = next;
            }
        }
        if (m_chunks == &m_ownChunks)
            m_ownChunks.release();
        m_head = m_tail = nullptr;
        m_count = 0;
        m_itemsOnTheirOwn = 0;
    }

private:
    void appendNode(std::unique_ptr<T, ItemDeleter> item)
    {
        Node* node = new (m_chunks->allocate(sizeof(Node), alignof(Node))) Node{std::move(item), m_tail, nullptr};
        if (m_tail)
            m_tail->next = node;
        else
            m_head = node;
        m_tail = node;
        ++m_count;
    }

    ChunkArena m_ownChunks;
    ChunkArena* m_chunks = &m_ownChunks;
    Node* m_head = nullptr;
    Node* m_tail = nullptr;
    std::size_t m_count = 0;
    std::size_t m_itemsOnTheirOwn = 0; // appended, not emplaced
};
