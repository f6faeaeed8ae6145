// Replay files: writing and reading one, and the save-as dialog that proposes a free name.
#include <algorithm>
#include <cstring>

#include "platform/host/game_files.h"
#include "platform/host/message_queue.h"
#include "platform/host/text_codec.h"
#include "platform/services/boxes.h"
#include "platform/services/format.h"
#include "platform/services/paths.h"
#include "platform/services/thread.h"
#include "platform/ui/file_dialogs.h"
#include "project/replay.h"
#include "project/save_data.h"
#include "project/stage_data.h"

namespace {

// The two digits of a proposed name each run 0..9 in the file name, but only 0..8 are tried.
constexpr int kNumberedDigits = 9;
constexpr std::size_t kNumberSuffixLength = 3;  // "_ij"

// The stage loader's reports, so a replay is refused in the same words as a stage file.
void ReportDamagedReplay(const char* path) {
  ErrMesBox(SJ("ステージファイル %s が破損しています！").c_str(), path);
  PostMainWindowMessage(WM_CLOSE, 0, 0);
}

void ReportNoHero() {
  ErrBox(SJ("主人公が配置されていないのでプレイできません！"));
  PostMainWindowMessage(WM_CLOSE, 0, 0);
}

// The replay folder is the player's own: made when it is missing, so that saving the first replay
// does not fail for want of it.
void EnsureReplayFolder() {
  CreateGameDirectory("user_data");
  CreateGameDirectory("user_data\\rpl4");
}

// The first free user_data\rpl4\name_ij.rpl4_556 for the stage name (only its file name counts), as
// a bare file name; empty when name gives no proposal that fits a path.
std::string ProposeReplayName(const char* name, const std::string& ext) {
  if (!name || !*name) return {};
  std::string file = name;
  StripDirectory(file);
  if (file.empty()) return {};
  std::string renamed;
  // A name without an extension still becomes a replay name.
  if (!ReplaceExtension(renamed, file, ext.c_str())) renamed = file + "." + ext;
  const std::string base = std::string(kReplayFolder) + renamed;
  if (base.size() + kNumberSuffixLength > kMaxPathLength) return {};

  std::string candidate;
  for (int i = 0; i < kNumberedDigits; ++i) {
    for (int j = 0; j < kNumberedDigits; ++j) {
      NumberedName(candidate, base, i, j);
      if (!StatGameFile(candidate)) {
        StripDirectory(candidate);
        return candidate;
      }
    }
  }
  // All 81 taken: the last one is proposed, and the dialog asks before replacing it.
  StripDirectory(candidate);
  return candidate;
}

}  // namespace

std::int32_t cReplayRecord::WriteReplayFile(const char* path, cStageData& stage, const cStageData& header,
                                            cSaveData& progress) {
  RecordWriteFile file = OpenRecordWrite(path);
  if (!file) return 0;
  stage.WriteForReplay(*file, header);
  Write(*file);
  progress.Write(*file);
  return CloseRecordFile(file);
}

std::int32_t cReplayRecord::ReadReplayFile(const char* path, cStageData& stage, cStageData& header,
                                           cSaveData& progress) {
  RecordReadFile file = OpenRecordRead(path);
  if (!file) return 0;
  cRecordReader& in = *file;
  const std::uint32_t version = in.Version();
  // The streams and the progress are read beside the live ones and taken over only when the whole
  // replay is good: a damaged file must not leave the player's progress half overwritten.
  stage.Read(in);
  cReplayRecord streams;
  streams.m_Seed = m_Seed;
  streams.Read(in);
  cSaveData staged(progress);
  const bool withProgress = version >= kReplayProgressSince;
  if (withProgress) staged.Read(in);
  const bool damaged = in.Damaged();
  CloseRecordFile(file);

  if (damaged) {
    stage.Reset();
    // A read stopped because the program is closing is no fault of the file.
    if (!QuitRequested()) ReportDamagedReplay(path);
    return 0;
  }
  if (!stage.HasHero()) {
    ReportNoHero();
    return 0;
  }
  header.CopyHeaderFrom(stage);
  header.FreeRecordLists();
  *this = streams;
  if (withProgress) progress = staged;
  return 1;
}

std::uint32_t ChooseReplaySavePath(std::string& path, const char* name, cScreen* owner) {
  const std::string ext = kReplayExtension;
  EnsureReplayFolder();
  path = ProposeReplayName(name, ext);

  std::string filter = FormatString("ReplayFile ( *.%s )", ext.c_str());
  filter += '\0';
  filter += FormatString("*.%s", ext.c_str());
  filter += '\0';
  char buffer[kFileDialogBufferSize] = {};
  std::memcpy(buffer, path.data(), std::min(path.size(), kFileDialogBufferSize - 1));
  const std::int32_t chosen =
      SaveFileDialog(owner, buffer, kReplayFolder, SJ("保存先のファイル選択").c_str(), filter.c_str(), ext.c_str(), 1);
  if (!chosen) return 0;
  path = buffer;
  return 1;
}
