#pragma once
// The containers of stage objects: a list whose elements never move, so that other objects may point
// at them, and that stays valid while a walk over it adds or removes elements. An element removed
// during a walk is hidden at once (no walk, search or count sees it again) and destroyed when the
// outermost walk of its list ends; outside a walk it is destroyed at once. Elements added during a
// walk are appended and the walk reaches them.
#include <cstddef>
#include <iterator>
#include <list>
#include <type_traits>
#include <utility>

template <class T>
class cObjectList {
  struct Node {
    template <class... Args>
    explicit Node(Args&&... args) : value(std::forward<Args>(args)...) {}
    T value;
    bool removed = false;
  };
  using NodeList = std::list<Node>;

 public:
  // Iterates the live elements; use ForEach for a walk that may remove elements.
  template <class NodeIt, class Ref>
  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = T;
    using difference_type = std::ptrdiff_t;
    using pointer = std::remove_reference_t<Ref>*;
    using reference = Ref;

    Iterator() = default;
    Iterator(NodeIt it, NodeIt end) : m_It(it), m_End(end) { Skip(); }
    Ref operator*() const { return m_It->value; }
    pointer operator->() const { return &m_It->value; }
    Iterator& operator++() {
      ++m_It;
      Skip();
      return *this;
    }
    Iterator operator++(int) {
      Iterator old = *this;
      ++*this;
      return old;
    }
    bool operator==(const Iterator& other) const { return m_It == other.m_It; }

   private:
    void Skip() {
      while (m_It != m_End && m_It->removed) ++m_It;
    }
    NodeIt m_It{};
    NodeIt m_End{};
  };
  using iterator = Iterator<typename NodeList::iterator, T&>;
  using const_iterator = Iterator<typename NodeList::const_iterator, const T&>;

  cObjectList() = default;
  cObjectList(const cObjectList&) = delete;
  cObjectList& operator=(const cObjectList&) = delete;

  iterator begin() { return iterator(m_Nodes.begin(), m_Nodes.end()); }
  iterator end() { return iterator(m_Nodes.end(), m_Nodes.end()); }
  const_iterator begin() const { return const_iterator(m_Nodes.begin(), m_Nodes.end()); }
  const_iterator end() const { return const_iterator(m_Nodes.end(), m_Nodes.end()); }

  // The new element, appended.
  template <class... Args>
  T& Emplace(Args&&... args) {
    m_Nodes.emplace_back(std::forward<Args>(args)...);
    ++m_Live;
    return m_Nodes.back().value;
  }

  // A walk by hand, for nested walks that must know whether the element they stand on was removed
  // meanwhile. While any walk of the list lives, no removed element is destroyed, so a pointer to an
  // element (or held in one) stays usable until the outermost walk ends. It reaches elements
  // appended meanwhile and skips removed ones.
  class cWalk {
   public:
    explicit cWalk(cObjectList& list) : m_List(list), m_It(list.m_Nodes.begin()) {
      ++m_List.m_Walks;
      Skip();
    }
    ~cWalk() {
      if (--m_List.m_Walks == 0 && m_List.m_Hidden > 0) m_List.Sweep();
    }
    cWalk(const cWalk&) = delete;
    cWalk& operator=(const cWalk&) = delete;

    bool Done() const { return m_It == m_List.m_Nodes.end(); }
    T& Current() const { return m_It->value; }
    // The element the walk stands on has not been removed since the walk reached it.
    bool CurrentLive() const { return !m_It->removed; }
    void Next() {
      ++m_It;
      Skip();
    }
    // Stands on the element at this address, removed since or not, so that a pass that reached it by
    // a shortcut goes on in list order from there; Done when it is not in the list.
    void SeekTo(const T* element) {
      for (m_It = m_List.m_Nodes.begin(); m_It != m_List.m_Nodes.end(); ++m_It)
        if (&m_It->value == element) return;
    }

   private:
    void Skip() {
      while (m_It != m_List.m_Nodes.end() && m_It->removed) ++m_It;
    }
    cObjectList& m_List;
    typename NodeList::iterator m_It;
  };

  // Calls f(element) for every live element in order, including those appended meanwhile; f may add
  // and remove elements of this list, the one it was given too.
  template <class F>
  void ForEach(F&& f) {
    for (cWalk walk(*this); !walk.Done(); walk.Next()) f(walk.Current());
  }

  // Removes the element at this address; false when it is not a live element of this list.
  bool Remove(const T* element) {
    return RemoveIf([element](const T& value) { return &value == element; }) != 0;
  }

  // Removes every live element that pred accepts; the number removed.
  template <class Pred>
  int RemoveIf(Pred&& pred) {
    int removed = 0;
    for (Node& node : m_Nodes)
      if (!node.removed && pred(node.value)) {
        node.removed = true;
        --m_Live;
        ++m_Hidden;
        ++removed;
      }
    if (removed != 0 && m_Walks == 0) Sweep();
    return removed;
  }

  // Puts replacement where the live element equal to old is (pointer lists whose object moved).
  bool Replace(const T& old, const T& replacement) {
    for (Node& node : m_Nodes)
      if (!node.removed && node.value == old) {
        node.value = replacement;
        return true;
      }
    return false;
  }

  bool Contains(const T& value) const {
    for (const Node& node : m_Nodes)
      if (!node.removed && node.value == value) return true;
    return false;
  }

  // Removes every element (hidden first when a walk is running).
  void Clear() {
    RemoveIf([](const T&) { return true; });
  }

  int Size() const { return m_Live; }
  bool Empty() const { return m_Live == 0; }

  ~cObjectList() { Clear(); }

 private:
  // Erases the hidden nodes. Destroying an element may remove further elements of this list (an
  // object unlinking itself): those are only hidden meanwhile and erased by the next round, so no
  // node is erased under the loop.
  void Sweep() {
    ++m_Walks;
    while (m_Hidden > 0) {
      for (auto it = m_Nodes.begin(); it != m_Nodes.end();) {
        if (it->removed) {
          --m_Hidden;
          it = m_Nodes.erase(it);
        } else {
          ++it;
        }
      }
    }
    --m_Walks;
  }

  NodeList m_Nodes;
  int m_Live = 0;
  int m_Walks = 0;
  int m_Hidden = 0;
};
