#pragma once
// The scene shown for a slot whose own scene is not part of the program yet (world map, world-map
// menu, challenge, play, option): a dark screen with a line of text. Any button goes back to the
// title. The first time each slot is shown, the report log says so.
#include <cstdint>

#include "shell/scene.h"

class cPlaceholderScene : public cScene {
 public:
  explicit cPlaceholderScene(std::int32_t slot);

  void Frame() override;
  void Enter() override;
  void FadeIn() override;
  void FadeOut() override;

  void OnWait();

  std::int32_t Slot() const { return m_Slot; }

 private:
  void Draw();

  std::int32_t m_Slot;
};

// Forgets which slots were already reported (a fresh run in the same process: tests).
void ResetPlaceholderReports();
