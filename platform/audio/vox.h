#pragma once
// The OGG side of the music manager: the OGG library "Vox.dll", found by name at run time, whose
// export "CreateVox" makes player objects, and cVox, which keeps one such player per channel.
//
// The library is the program's own, over the host's OGG stream: each player streams one file into
// the audio mixer. The manager sees only the player's table of operations.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A player of the OGG library, used only through its operations, in the order of its table:
// 0 load, 1 play, 2 stop, 3 close, 4 set the loop count, (5 to 8 not used), 9 release.
class cVoxPlayer {
 public:
  virtual ~cVoxPlayer() = default;
  // Loads the game file name, closing what was loaded; non-zero on success.
  virtual std::uint8_t Load(const char* name) = 0;
  // Starts the loaded file from its beginning at once.
  virtual void Play() = 0;
  virtual void Stop() = 0;
  virtual void Close() = 0;
  // How often the file repeats after its first play; 2147483647 repeats it without end.
  virtual void SetLoop(std::int32_t count) = 0;
  // Lets go of everything the player holds; the object itself goes with its owner.
  virtual void Release() = 0;
};

using CreateVoxProc = std::unique_ptr<cVoxPlayer> (*)();

// The loaded library: its name and its exports.
struct cVoxModule;
// Loads the library of that file name; null when there is none by that name (or the switch below
// says the library is missing).
const cVoxModule* LoadVoxModule(const std::string& name);
// The export of that name; null when the library has none.
CreateVoxProc GetVoxProc(const cVoxModule* module, const std::string& name);
void FreeVoxModule(const cVoxModule* module);
// Loads of the library not freed yet.
int VoxModuleUseCount();

// The library is built in and always there; tests take it away to follow the road of a machine
// without it.
void SetVoxLibraryMissing(bool missing);

// The loop count that stands for endless repetition.
constexpr std::int32_t kVoxLoopForever = 2147483647;

class cVox {
 public:
  cVox() = default;
  ~cVox();
  cVox(const cVox&) = delete;
  cVox& operator=(const cVox&) = delete;

  // Loads "Vox.dll" and its "CreateVox"; when either is missing, the error box "oggの初期化に失敗！"
  // and false.
  bool Init();
  // Replaces the players with n new ones from CreateVox. False without the library; a player that
  // cannot be made shows the memory box (which closes the program) and gives false.
  bool Create(int n);
  // Plays the game file name on channel's player, repeating it without end when loop is set. False
  // for an empty name, a channel without a player, or a file that does not load.
  bool Play(int channel, const std::string& name, int loop);
  // Stops the player that plays; current becomes -1.
  void Stop();
  // Releases every player, then the library.
  void Release();

  bool Loaded() const { return m_CreateVox != nullptr; }
  int Count() const { return m_Count; }
  int Current() const { return m_Current; }
  // Null for a channel without a player.
  cVoxPlayer* Player(int channel) const;

 private:
  std::vector<std::unique_ptr<cVoxPlayer>> m_Players;
  std::int32_t m_Count = 0;
  std::int32_t m_Current = -1;
  const cVoxModule* m_Module = nullptr;
  CreateVoxProc m_CreateVox = nullptr;
};
