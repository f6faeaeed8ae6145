#pragma once
// The play scene's execution context as the flow run-time keeps it, and how it finds a runner's
// instance again after a command edited the flows.
#include <cstdint>

#include "play/flow_runner.h"
#include "play/play_scene.h"

class cCharaBase;

// Restores the execution context at the end of a scope. At the top level that clears it, as the
// run-time must; a trigger raised while another character's command runs leaves that character's
// context as it found it, so the command's flow goes on with the right character.
class cExecContextScope {
 public:
  explicit cExecContextScope(cPlayScene& scene)
      : m_Scene(scene), m_Chara(scene.m_ExecChara), m_Flow(scene.m_ExecFlow), m_Command(scene.m_ExecCommand) {}
  ~cExecContextScope() { Restore(); }
  cExecContextScope(const cExecContextScope&) = delete;
  cExecContextScope& operator=(const cExecContextScope&) = delete;
  void Restore() const {
    m_Scene.m_ExecChara = m_Chara;
    m_Scene.m_ExecFlow = m_Flow;
    m_Scene.m_ExecCommand = m_Command;
  }

 private:
  cPlayScene& m_Scene;
  cCharaBase* m_Chara;
  cFlowRunner* m_Flow;
  cCommandInstance* m_Command;
};

// An instance by its runner's serial and its place in the runner: what survives an edit.
struct cInstancePlace {
  std::int32_t m_Serial = -1;
  std::int32_t m_Index = -1;
};

// The place of instance in runner (m_Index -1 when runner is null or does not hold it).
cInstancePlace PlaceOf(const cFlowRunner* runner, const cCommandInstance& instance);
// The instance at that place in chara's runners, or null when it is gone.
cCommandInstance* FindInstance(cCharaBase& chara, const cInstancePlace& place);

// The group letter of the runner's flow (1..26), 0 for none; a byte beyond z counts as none.
std::int32_t FlowGroupOf(const cFlowRunner& runner);
