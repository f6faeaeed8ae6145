#pragma once
// Shared by the tests of shots: the contact fixture (hero 0 on stage cell (5, 5) in group 0,
// characters made on demand) at one logic step a frame, with shots fired as the firing code fires
// them: set up from parameters and a spawn record, then listed in the play scene.
#include <gtest/gtest.h>

#include <cstdint>

#include "play/shot.h"
#include "project/database.h"
#include "tests/play/contact_fixture.h"

namespace playtest {

class ShotTest : public ContactTest {
 protected:
  void SetUp() override {
    ContactTest::SetUp();
    SetSpeedLevel(1);
  }

  void TearDown() override {
    ClearShots();
    g_Database.m_SwordTypes.clear();
    ContactTest::TearDown();
  }

  // A straight shot flying through blocks, of speed (tenths of a dot per frame).
  static cEdShot Params(std::int16_t speed = 0, std::uint8_t kind = 0) {
    cEdShot p;
    p.m_Speed = speed;
    p.m_MoveKind = kind;
    p.m_BlockPassing = 1;
    return p;
  }

  // Fired at (x, y) in stage dots with a velocity in dots per frame.
  static cShotSpawn Spawn(double x, double y, double vx, double vy) {
    cShotSpawn spawn;
    spawn.m_X = static_cast<std::int32_t>(x);
    spawn.m_Y = static_cast<std::int32_t>(y);
    spawn.m_Vx = vx;
    spawn.m_Vy = vy;
    spawn.m_Speed = vx != 0.0 || vy != 0.0 ? std::abs(vx) + std::abs(vy) : 0.0;
    return spawn;
  }

  cShot& Fire(cCharaBase& owner, cEdShot params, const cShotSpawn& spawn, std::int32_t command = 11) {
    cShot shot;
    shot.Setup(m_Scene->m_NextExtraId++, owner, command, params, spawn);
    return AddShot(m_Scene->m_ShotList, shot);
  }

  // The UpdateShot call that reports the end (0 when none of the first `limit` does).
  static int RemovedOnCall(cShot& shot, int limit) {
    for (int call = 1; call <= limit; ++call)
      if (UpdateShot(shot) != 0) return call;
    return 0;
  }

  // Stage dots of the top left of map cell (tx, ty).
  static double Dot(std::int32_t cell) { return cell * 32.0; }
};

}  // namespace playtest
