#include "script/exec_context.h"

#include "play/chara_base.h"
#include "script/flow_runtime.h"

cInstancePlace PlaceOf(const cFlowRunner* runner, const cCommandInstance& instance) {
  cInstancePlace place;
  if (runner == nullptr) return place;
  place.m_Serial = runner->m_Serial;
  const cCommandInstance* first = runner->m_Instances.data();
  if (&instance >= first && &instance < first + runner->m_Instances.size())
    place.m_Index = static_cast<std::int32_t>(&instance - first);
  return place;
}

cCommandInstance* FindInstance(cCharaBase& chara, const cInstancePlace& place) {
  if (place.m_Index < 0) return nullptr;
  cFlowRunner* runner = FindRunnerBySerial(chara, place.m_Serial);
  if (runner == nullptr || place.m_Index >= runner->m_Instances.Size()) return nullptr;
  return &runner->m_Instances[static_cast<std::size_t>(place.m_Index)];
}

std::int32_t FlowGroupOf(const cFlowRunner& runner) {
  if (runner.m_Flow == nullptr) return 0;
  const std::int32_t group = runner.m_Flow->m_Group;
  return group < kFlowGroupSlots ? group : 0;
}
