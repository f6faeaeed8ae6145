#pragma once
// Copying the move and shot records of commands. Two commands never share one record: a copied
// command gets records of its own with the same values, so changing one leaves the other alone.
#include <concepts>
#include <memory>

#include "project/ed_move.h"
#include "project/ed_shot.h"

template <class T>
concept EdRecord = std::same_as<T, cEdMove> || std::same_as<T, cEdShot>;

inline void NewEdRecord(std::shared_ptr<cEdMove>& holder) { NewEdMove(holder); }
inline void NewEdRecord(std::shared_ptr<cEdShot>& holder) { NewEdShot(holder); }

// A new record with src's values; none when src holds none.
template <EdRecord T>
std::shared_ptr<T> CloneShared(const std::shared_ptr<T>& src) {
  if (!src) return nullptr;
  std::shared_ptr<T> copy;
  NewEdRecord(copy);
  *copy = *src;
  return copy;
}

// target takes src's values: released when src holds none, otherwise given a record of its own (a
// new one when it has none, or when the one it has is held elsewhere too) and assigned.
template <EdRecord T>
void AssignShared(std::shared_ptr<T>& target, const std::shared_ptr<T>& src) {
  if (&target == &src) return;
  if (!src) {
    target.reset();
    return;
  }
  if (!target || target.use_count() > 1) NewEdRecord(target);
  *target = *src;
}
