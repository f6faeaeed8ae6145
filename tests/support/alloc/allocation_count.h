#pragma once
// Counts the allocations a stretch of code makes on the calling thread. The program that links this
// gets a global operator new that counts while a watch is running on the thread that allocates.
class cAllocationWatch {
 public:
  // Starts counting from 0.
  cAllocationWatch();
  ~cAllocationWatch();
  cAllocationWatch(const cAllocationWatch&) = delete;
  cAllocationWatch& operator=(const cAllocationWatch&) = delete;

  // Stops counting; the allocations seen since the start.
  int Stop();
};
