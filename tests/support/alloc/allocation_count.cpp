#include "tests/support/alloc/allocation_count.h"

#include <cstdlib>
#include <new>

namespace {

thread_local bool t_Watching = false;
thread_local int t_Allocations = 0;

void* CountedAlloc(std::size_t size) {
  if (t_Watching) ++t_Allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return CountedAlloc(size); }
void* operator new[](std::size_t size) { return CountedAlloc(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

cAllocationWatch::cAllocationWatch() {
  t_Allocations = 0;
  t_Watching = true;
}

cAllocationWatch::~cAllocationWatch() { t_Watching = false; }

int cAllocationWatch::Stop() {
  t_Watching = false;
  return t_Allocations;
}
