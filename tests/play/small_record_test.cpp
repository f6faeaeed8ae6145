#include <gtest/gtest.h>

#include <cstdint>

#include "play/chara_base.h"
#include "play/hero.h"
#include "play/small_record.h"

namespace {

TEST(SmallRecordTest, EveryWordButTheSecondIsCleared) {
  cImmunity immunity{7, 30};
  ZeroSmallRecord(immunity);
  EXPECT_EQ(immunity.m_AttackerId, 0);
  EXPECT_EQ(immunity.m_StepsLeft, 30);

  cBoxOverlayRec overlay{3, 2, 216, 10, 20, 16, 24, 31};
  ZeroSmallRecord(overlay);
  EXPECT_EQ(overlay.m_Kind, 0);
  EXPECT_EQ(overlay.m_Mode, 2);
  EXPECT_EQ(overlay.m_Colour, 0);
  EXPECT_EQ(overlay.m_X, 0);
  EXPECT_EQ(overlay.m_Height, 0);
  EXPECT_EQ(overlay.m_Counter, 0);
}

}  // namespace
