// The code language on texts made at random from its own tokens (and a few strays): nothing
// crashes or hangs, and whatever ran leaves every stored value inside its range.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>

#include "platform/host/text_codec.h"
#include "tests/script/code_fixture.h"

namespace {

using scripttest::CodeTest;

bool InRange(std::int32_t v) { return v >= kCodeValueMin && v <= kCodeValueMax; }

TEST_F(CodeTest, RandomTextsNeverBreakTheEvaluatorOrItsRanges) {
  const std::array<std::string, 50> tokens = {
      "C1",    "C255",       "C256",        "C-1",         "S0",
      "S255",  "S256",       "Sx",          "my.",         "tg.",
      "pl.",   "sys.",       "xx.",         ".",           "hp",
      "sp",    "mhp",        "msp",         "v1",          "v8",
      "cid",   "z",          "mark",        "sight",       "imp",
      "stop",  "getsc",      "time",        "scrlx",       "scrly",
      "score", "life",       "=",           "+",           "-",
      "*",     "/",          "%",           "0",           "7",
      "-3",    "2147483647", "-2147483648", "99999999999", "(",
      ")",     "rand(",      ",",           SJ("あ"),      std::string(1, '\0'),
  };
  std::mt19937 pick(20261211);
  std::uniform_int_distribution<std::size_t> token(0, tokens.size() - 1);
  std::uniform_int_distribution<int> length(0, 24);
  std::bernoulli_distribution space(0.7);
  std::bernoulli_distribution targeted(0.5);

  for (int n = 0; n < 4000; ++n) {
    std::string text;
    for (int i = length(pick); i > 0; --i) {
      text += tokens[token(pick)];
      if (space(pick)) text += ' ';
    }
    m_Chara.SetTarget(targeted(pick) ? &m_Other : nullptr);
    m_Boxes.clear();
    const std::int32_t ran = EvalCode(text, m_Chara);
    ASSERT_EQ(ran, 1 - g_CodeError) << text;
    // An error ends its own parenthesis or call; the text around it goes on and may meet more.
    for (const std::string& box : m_Boxes) {
      bool known = false;
      for (const char* form : {"関数 rand ", "\")\"が見つかりません！", "オブジェクト \"", "0除算が行われました！("})
        known = known || box.rfind(SJ(form), 0) == 0;
      ASSERT_TRUE(known) << text;
    }
    for (const cCharaBase* c : {static_cast<const cCharaBase*>(&m_Chara), static_cast<const cCharaBase*>(&m_Other)}) {
      ASSERT_GE(c->m_Def.m_MaxHp, 1) << text;
      ASSERT_GE(c->m_Hp, 0) << text;
      ASSERT_LE(c->m_Hp, c->m_Def.m_MaxHp) << text;
      ASSERT_LE(c->m_Def.m_Z, 7) << text;
    }
    for (std::uint32_t v : g_SaveData.m_Variables) ASSERT_TRUE(InRange(static_cast<std::int32_t>(v))) << text;
    for (std::int32_t v : m_Scene->m_StageVars) ASSERT_TRUE(InRange(v)) << text;
    ASSERT_GE(g_ScrollSpeedX, -480) << text;
    ASSERT_LE(g_ScrollSpeedX, 480) << text;
    ASSERT_LE(g_SaveData.m_Lives, 99) << text;
  }
}

}  // namespace
