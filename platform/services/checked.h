#pragma once
// Bounds-checked containers. A bad index is written to the logs and closes the program in order
// (WM_CLOSE to the main window) instead of reading out of bounds; the caller gets valid data until
// the close arrives.
#include <list>
#include <stdexcept>
#include <type_traits>
#include <vector>

// The element size printed in the failure lines: pointers count 4 bytes, as the game's data lay them
// out, so the line is the same on every build.
template <class T>
constexpr int CheckedElementSize() {
  if constexpr (std::is_pointer_v<T>) {
    return 4;
  } else {
    return static_cast<int>(sizeof(T));
  }
}

// Writes "err V[%d] ( %d , %d )" / "err L[%d] ( %d , %d )" to both logs and posts WM_CLOSE.
void ReportBadVectorIndex(int index, int size, int elementSize);
void ReportBadListIndex(int index, int size, int elementSize);

template <class T>
class CheckedVector : public std::vector<T> {
 public:
  using std::vector<T>::vector;

  T& At(int i) { return this->data()[CheckedIndex(i)]; }
  const T& At(int i) const { return this->data()[CheckedIndex(i)]; }
  int Size() const { return static_cast<int>(this->size()); }

  void Fill(const T& value) {
    for (int i = 0; i < Size(); ++i) At(i) = value;
  }

  // Removes every element equal to value; true when one was removed.
  bool EraseValue(const T& value) {
    auto before = this->size();
    std::erase(*this, value);
    return this->size() != before;
  }

 private:
  // Element i, or element 0 after the failure lines; an empty vector has nothing to give.
  std::size_t CheckedIndex(int i) const {
    if (i >= 0 && i < Size()) return static_cast<std::size_t>(i);
    ReportBadVectorIndex(i, Size(), CheckedElementSize<T>());
    if (this->empty()) throw std::out_of_range("invalid vector<T> subscript");
    return 0;
  }
};

template <class T>
class CheckedList : public std::list<T> {
 public:
  using std::list<T>::list;

  int Size() const { return static_cast<int>(this->size()); }

  // The element at position i from the first; a bad index yields the spare element of the type,
  // the same object on every failure, and leaves the list as it is.
  T& At(int i) {
    if (i < 0 || i >= Size()) {
      ReportBadListIndex(i, Size(), CheckedElementSize<T>());
      static T spare{};
      return spare;
    }
    auto it = this->begin();
    std::advance(it, i);
    return *it;
  }
};
