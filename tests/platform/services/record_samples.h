#pragma once
// Record classes and a fixture shared by the record tests.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/services/log.h"
#include "platform/services/record.h"
#include "tests/support/byte_builder.h"
#include "tests/support/record_images.h"
#include "tests/support/game_folder.h"
#include "tests/support/messages.h"

// One i16 and one text: the layout example of the record files.
class cShortText : public cDataRecord {
 public:
  void RegisterFields(std::uint32_t) override {
    ClearFields();
    AddField(m_Short);
    AddString(m_Text);
  }

  std::int16_t m_Short = 0;
  std::string m_Text;
};

// Members that came with later versions: m_Pair from 100, m_Wide and m_Note from 400. m_Scratch is
// never registered.
class cVersioned : public cDataRecord {
 public:
  void RegisterFields(std::uint32_t version) override {
    ClearFields();
    AddField(m_Count);
    if (version >= 100) AddField(m_Pair);
    AddField(m_Ratio);
    if (version >= 400) AddField(m_Wide);
    AddString(m_Name);
    if (version >= 400) AddString(m_Note);
  }

  std::int32_t m_Count = 0;
  std::uint16_t m_Pair[2] = {};
  float m_Ratio = 0;
  double m_Wide = 0;
  std::string m_Name;
  std::string m_Note;
  std::int32_t m_Scratch = 0;
};

// A record with parts of its own after the base body: a counted list of numbers and a counted list
// of nested records.
class cWithLists : public cDataRecord {
 public:
  void RegisterFields(std::uint32_t) override {
    ClearFields();
    AddField(m_Id);
  }

  void Read(cRecordReader& in) override {
    cDataRecord::Read(in);
    std::uint32_t count = 0;
    if (!in.ReadCount(count, 4)) return;
    std::vector<std::int32_t> values(count);
    for (std::int32_t& value : values)
      if (!in.ReadI32(value)) return;
    m_Values = std::move(values);
    if (!in.ReadCount(count, 8)) return;
    std::vector<cShortText> items(count);
    for (cShortText& item : items) item.Read(in);
    if (!in.Damaged()) m_Items = std::move(items);
  }

  void Write(cRecordWriter& out) override {
    cDataRecord::Write(out);
    out.WriteCount(m_Values.size());
    for (std::int32_t value : m_Values) out.WriteI32(value);
    out.WriteCount(m_Items.size());
    for (cShortText& item : m_Items) item.Write(out);
  }

  std::int32_t m_Id = 0;
  std::vector<std::int32_t> m_Values;
  std::vector<cShortText> m_Items;
};

// A fresh game folder with the report log open and the record settings of start-up.
class RecordTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    InitRecordSettings();
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
    TakeMainWindowMessages(WM_CLOSE);
  }
  void TearDown() override {
    InitRecordSettings();
    GameFolderTest::TearDown();
  }
};

// True when every descriptor of record points inside it and names it as owner.
inline bool DescribesItself(const cDataRecord& record, std::size_t size) {
  const auto* begin = reinterpret_cast<const char*>(&record);
  const auto inside = [&](const void* p) {
    const auto* at = static_cast<const char*>(p);
    return at >= begin && at < begin + size;
  };
  for (const FieldDesc& desc : record.Fields())
    if (desc.owner != &record || !inside(desc.data)) return false;
  for (const StringFieldDesc& desc : record.StringFields())
    if (desc.owner != &record || !inside(desc.str)) return false;
  return true;
}
