// The small records of a stage: the screen-out rules, the background layers and the text records.
#include "project/discarded_field.h"
#include "project/stage_data.h"

cScreenOutRule::cScreenOutRule() {
  RegisterFields(kRecordVersion);
  Reset();
}

cScreenOutRule::cScreenOutRule(const cScreenOutRule& src)
    : cDataRecord(src), m_Sides(src.m_Sides), m_Margins(src.m_Margins) {
  RegisterFields(kRecordVersion);
}

cScreenOutRule& cScreenOutRule::operator=(const cScreenOutRule& src) {
  cDataRecord::operator=(src);
  m_Sides = src.m_Sides;
  m_Margins = src.m_Margins;
  RegisterFields(kRecordVersion);
  return *this;
}

void cScreenOutRule::RegisterFields(std::uint32_t version) {
  ClearFields();
  // Before 125 a rule had one switch, for the left side, and kept the other three as they were.
  if (version < 125) {
    AddField(m_Sides[0]);
  } else {
    for (std::uint32_t& side : m_Sides) AddField(side);
  }
  for (std::uint32_t& margin : m_Margins) AddField(margin);
}

void cScreenOutRule::Set(std::uint32_t left, std::uint32_t right, std::uint32_t top, std::uint32_t bottom,
                         std::uint32_t leftMargin, std::uint32_t rightMargin, std::uint32_t topMargin,
                         std::uint32_t bottomMargin) {
  m_Sides = {left, right, top, bottom};
  m_Margins = {leftMargin, rightMargin, topMargin, bottomMargin};
}

cBgLayer::cBgLayer() { RegisterFields(kRecordVersion); }

cBgLayer::cBgLayer(const cBgLayer& src)
    : cDataRecord(src),
      m_Shown(src.m_Shown),
      m_PlainColour(src.m_PlainColour),
      m_FillColour(src.m_FillColour),
      m_Pass(src.m_Pass),
      m_RateX(src.m_RateX),
      m_RateY(src.m_RateY),
      m_AutoScrollX(src.m_AutoScrollX),
      m_AutoScrollY(src.m_AutoScrollY),
      m_FileName(src.m_FileName),
      m_OffsetX(src.m_OffsetX),
      m_OffsetY(src.m_OffsetY) {
  RegisterFields(kRecordVersion);
}

cBgLayer& cBgLayer::operator=(const cBgLayer& src) {
  cDataRecord::operator=(src);
  m_Shown = src.m_Shown;
  m_PlainColour = src.m_PlainColour;
  m_FillColour = src.m_FillColour;
  m_Pass = src.m_Pass;
  m_RateX = src.m_RateX;
  m_RateY = src.m_RateY;
  m_AutoScrollX = src.m_AutoScrollX;
  m_AutoScrollY = src.m_AutoScrollY;
  m_FileName = src.m_FileName;
  m_OffsetX = src.m_OffsetX;
  m_OffsetY = src.m_OffsetY;
  RegisterFields(kRecordVersion);
  return *this;
}

void cBgLayer::RegisterFields(std::uint32_t version) {
  ClearFields();
  if (version >= 62) AddField(m_Shown);
  AddField(m_PlainColour);
  AddField(m_FillColour);
  AddField(m_Pass);
  if (version >= 61) {
    AddField(m_RateX);
    AddField(m_RateY);
    AddField(m_AutoScrollX);
    AddField(m_AutoScrollY);
  }
  if (version >= 62) {
    AddField(m_OffsetX);
    AddField(m_OffsetY);
  } else {
    // Two words the old layouts held where the offsets are now.
    AddField(g_DiscardedField);
    AddField(g_DiscardedField);
  }
  AddString(m_FileName);
}

void cBgLayer::SetDefaults() {
  Reset();
  m_Shown = 1;
  m_FillColour = 16;
  m_RateX = 0.1;
  m_RateY = 0.1;
}

cStringRecord::cStringRecord() { RegisterFields(kRecordVersion); }

cStringRecord::cStringRecord(const cStringRecord& src) : cDataRecord(src), m_Text(src.m_Text) {
  RegisterFields(kRecordVersion);
}

cStringRecord& cStringRecord::operator=(const cStringRecord& src) {
  cDataRecord::operator=(src);
  m_Text = src.m_Text;
  RegisterFields(kRecordVersion);
  return *this;
}

void cStringRecord::RegisterFields(std::uint32_t /*version*/) {
  ClearFields();
  AddString(m_Text);
}
