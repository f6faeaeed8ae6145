#include "platform/services/checked.h"

#include <cstdint>

#include "platform/services/log.h"
#include "tests/support/game_folder.h"
#include "tests/support/messages.h"

namespace {

class CheckedTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
  }
};

struct BadIndexCase {
  int index;
  const char* line;
};

TEST_F(CheckedTest, BadVectorIndexLogsClosesAndYieldsTheFirstElement) {
  const BadIndexCase cases[] = {{5, "err V[5] ( 3 , 4 )"}, {3, "err V[3] ( 3 , 4 )"}, {-1, "err V[-1] ( 3 , 4 )"}};
  for (const auto& c : cases) {
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
    CheckedVector<int> v{10, 20, 30};
    EXPECT_EQ(&v.At(c.index), &v[0]) << c.index;
    EXPECT_EQ(ReadHostFile("Report_Game.txt"), std::string(c.line) + "\n");
    EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 1) << c.index;
  }
  CheckedVector<int> v{10, 20, 30};
  EXPECT_EQ(v.At(2), 30);
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 0);
}

TEST_F(CheckedTest, ElementSizeInTheLineIsFixedPerType) {
  CheckedVector<std::uint8_t> bytes{1};
  bytes.At(1);
  CheckedVector<int*> pointers{nullptr};
  pointers.At(2);
  EXPECT_EQ(ReadHostFile("Report_Game.txt"), "err V[1] ( 1 , 1 )\nerr V[2] ( 1 , 4 )\n");
}

TEST_F(CheckedTest, EmptyVectorRaisesAfterTheLine) {
  CheckedVector<int> empty;
  EXPECT_EQ(empty.Size(), 0);
  EXPECT_THROW(empty.At(0), std::out_of_range);
  EXPECT_EQ(ReadHostFile("Report_Game.txt"), "err V[0] ( 0 , 4 )\n");
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 1);
}

TEST_F(CheckedTest, BadListIndexYieldsTheSameSpareAndLeavesTheListAlone) {
  CheckedList<double> list{1.5, 2.5};
  double& first = list.At(2);
  double& second = list.At(-1);
  EXPECT_EQ(&first, &second);
  EXPECT_EQ(list.Size(), 2);
  EXPECT_EQ(list.At(1), 2.5);
  EXPECT_EQ(ReadHostFile("Report_Game.txt"), "err L[2] ( 2 , 8 )\nerr L[-1] ( 2 , 8 )\n");
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 2);
}

TEST_F(CheckedTest, FillAndEraseValue) {
  CheckedVector<int> v(3);
  v.Fill(9);
  EXPECT_EQ(v, (CheckedVector<int>{9, 9, 9}));

  int a = 0, b = 0;
  CheckedVector<int*> pointers{&a, &a, &b, &a};
  EXPECT_TRUE(pointers.EraseValue(&a));
  EXPECT_EQ(pointers, (CheckedVector<int*>{&b}));
  CheckedVector<int> numbers{1, 2};
  EXPECT_FALSE(numbers.EraseValue(7));
  EXPECT_EQ(numbers.Size(), 2);
}

}  // namespace
