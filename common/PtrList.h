#pragma once

#include <cstddef>
#include <iterator>
#include <memory>
#include <utility>

// An ordered, owning, doubly linked list of object pointers. Items are only
// appended at the tail and walked from head to tail; destroying the list
// destroys each item, then its node, from head to tail. Destruction is a loop,
// not a recursion, so lists of millions of items are safe to drop.
template <typename T>
class PtrList
{
    struct Node
    {
        std::unique_ptr<T> item;
        Node* prev = nullptr;
        std::unique_ptr<Node> next;
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
            m_node = m_node->next.get();
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
    PtrList(const PtrList&) = delete;
    PtrList& operator=(const PtrList&) = delete;
    ~PtrList() { clear(); }

    // Takes ownership of `item` and appends it at the tail.
    void append(std::unique_ptr<T> item)
    {
        auto node = std::make_unique<Node>();
        node->item = std::move(item);
        node->prev = m_tail;
        Node* raw = node.get();
        if (m_tail)
            m_tail->next = std::move(node);
        else
            m_head = std::move(node);
        m_tail = raw;
        ++m_count;
    }

    [[nodiscard]] std::size_t count() const { return m_count; }
    [[nodiscard]] bool empty() const { return m_count == 0; }
    [[nodiscard]] T* first() { return m_head ? m_head->item.get() : nullptr; }
    [[nodiscard]] const T* first() const { return m_head ? m_head->item.get() : nullptr; }

    iterator begin() { return iterator(m_head.get()); }
    iterator end() { return iterator(); }
    const_iterator begin() const { return const_iterator(m_head.get()); }
    const_iterator end() const { return const_iterator(); }

    // Destroys every item and node, head to tail.
    void clear()
    {
        while (m_head)
        {
            std::unique_ptr<Node> node = std::move(m_head);
            node->item.reset();
            m_head = std::move(node->next);
            if (m_head)
                m_head->prev = nullptr;
        }
        m_tail = nullptr;
        m_count = 0;
    }

private:
    std::unique_ptr<Node> m_head;
    Node* m_tail = nullptr;
    std::size_t m_count = 0;
};
