#include "platform/audio/bgm.h"

#include <algorithm>

#include "platform/host/text_codec.h"
#include "platform/host/trace.h"
#include "platform/services/format.h"
#include "platform/services/log.h"

CheckedVector<std::string> g_BgmOggNames = {
    "bgm\\Title.ogg", "bgm\\WorldMap.ogg", "bgm\\Challenge.ogg", "bgm\\Option.ogg", "bgm\\Stage.ogg",
};
CheckedVector<std::string> g_BgmMidiNames = {
    "bgm\\Title.mid", "bgm\\WorldMap.mid", "bgm\\Challenge.mid", "bgm\\Option.mid", "bgm\\Stage.mid",
};

cBgm g_Bgm;

namespace {

// The table's row for a slot that the kinds hold; a table someone shortened grows back to it.
std::string& Row(CheckedVector<std::string>& table, int slot) {
  if (table.Size() <= slot) table.resize(static_cast<std::size_t>(slot) + 1);
  return table.At(slot);
}

}  // namespace

cBgm::~cBgm() { Release(); }

bool cBgm::Init(int channels, CheckedVector<std::string>& oggNames, CheckedVector<std::string>& midiNames,
                int slots) {
  m_Enabled = 1;
  m_Current = -1;
  m_Midi.DeleteAll();
  m_Midi.clear();
  const bool oggReady = m_Vox.Init();
  if (!oggReady) LogF("%s", SJ("m_Vox.Init失敗！").c_str());
  // Without the OGG library the rest is set up all the same, so that MIDI music still plays and no
  // later call finds its lists empty.
  const bool channelsReady = SetChannels(channels);
  m_OggNames = &oggNames;
  m_MidiNames = &midiNames;
  const auto rows = static_cast<std::size_t>(std::max(slots, 0));
  if (oggNames.size() < rows) oggNames.resize(rows);
  if (midiNames.size() < rows) midiNames.resize(rows);
  m_Kinds.assign(rows, kBgmFileEither);
  return oggReady && channelsReady;
}

bool cBgm::SetChannels(int n) {
  n = std::max(n, 0);
  m_Midi.SetCount(n);
  const bool made = !m_Vox.Loaded() || m_Vox.Create(n);
  m_Engines.assign(static_cast<std::size_t>(n), kBgmEngineNone);
  return made;
}

bool cBgm::SetFile(int slot, const std::string& name) {
  if (!m_Enabled) return true;
  if (m_Kinds.empty()) {
    ReportBadVectorIndex(slot, 0, CheckedElementSize<BgmFileKind>());
    return false;
  }
  BgmFileKind& kind = m_Kinds.At(slot);
  // A bad slot has had its failure lines and takes the first row, in every table alike.
  const int row = slot >= 0 && slot < m_Kinds.Size() ? slot : 0;
  std::string& ogg = Row(*m_OggNames, row);
  std::string& midi = Row(*m_MidiNames, row);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) {
    ogg.clear();
    midi.clear();
    kind = kBgmFileEither;
    return false;
  }
  const std::string extension = name.substr(dot + 1);
  if (extension == "mid" || extension == "MID") {
    midi = name.substr(0, dot + 1) + "mid";
    kind = kBgmFileMidi;
    return true;
  }
  if (extension == "ogg" || extension == "OGG") {
    ogg = name;
    kind = kBgmFileOgg;
    return true;
  }
  ogg = name;
  midi = name;
  kind = kBgmFileEither;
  return false;
}

bool cBgm::Play(int channel, int slot, int loop, int pause, int force) {
  if (!m_Enabled) return true;
  if (slot == m_Current && !force) return true;
  m_Current = slot;
  bool played = false;
  if (m_Kinds.empty() || m_Engines.empty()) {
    // A manager sized to no slot or no channel has nothing to give: the failure lines of the checked
    // access, and no music.
    if (m_Kinds.empty())
      ReportBadVectorIndex(slot, 0, CheckedElementSize<BgmFileKind>());
    else
      ReportBadVectorIndex(channel, 0, CheckedElementSize<BgmEngine>());
  } else {
    const BgmFileKind kind = m_Kinds.At(slot);
    const int row = slot >= 0 && slot < m_Kinds.Size() ? slot : 0;
    switch (kind) {
      case kBgmFileEither:
        played = PlayOgg(channel, row, loop, pause) || PlayMidi(channel, row, loop);
        break;
      case kBgmFileOgg:
        played = PlayOgg(channel, row, loop, pause);
        break;
      case kBgmFileMidi:
        played = PlayMidi(channel, row, loop);
        break;
    }
    if (played) return true;
    m_Engines.At(channel) = kBgmEngineNone;
  }
  m_Current = -1;
  m_Vox.Stop();
  m_Midi.StopAll(0);
  Trace(FormatString("music slot %d none", slot));
  return false;
}

bool cBgm::PlayOgg(int channel, int slot, int loop, int pause) {
  const std::string name = Row(*m_OggNames, slot);
  if (!m_Vox.Play(channel, name, loop)) return false;
  m_Engines.At(channel) = kBgmEngineOgg;
  m_Midi.StopAll(pause);
  Trace(FormatString("music slot %d ogg %s loop %d", slot, name.c_str(), loop));
  return true;
}

bool cBgm::PlayMidi(int channel, int slot, int loop) {
  const std::string name = Row(*m_MidiNames, slot);
  if (!m_Midi.Play(channel, name, loop)) return false;
  m_Engines.At(channel) = kBgmEngineMidi;
  m_Vox.Stop();
  Trace(FormatString("music slot %d midi %s loop %d", slot, name.c_str(), loop));
  return true;
}

void cBgm::Stop() {
  if (!m_Enabled) return;
  m_Midi.StopAll(0);
  m_Vox.Stop();
  Trace("music stop");
}

void cBgm::Release() {
  m_Vox.Release();
  m_Midi.DeleteAll();
  m_Midi.clear();
  m_Engines.clear();
  m_Kinds.clear();
  m_Enabled = 0;
  m_Current = -1;
}
