#include <gtest/gtest.h>

#include "FakeSetupPlatform.h"
#include "SetupSteps.h"

namespace {

TEST(PlatformCheckTest, AcceptsThe9xAndNtFamiliesSilently) {
  for (unsigned long id : {1ul, 2ul}) {
    FakeSetup fake;
    fake.platformId = id;
    EXPECT_TRUE(PlatformCheck(fake.platform(), TestDialog()));
    EXPECT_TRUE(fake.boxes.empty());
  }
}

TEST(PlatformCheckTest, RefusesEveryOtherPlatformUnderSetupError) {
  for (unsigned long id : {0ul, 3ul, 0xFFFFFFFFul}) {
    FakeSetup fake;
    fake.platformId = id;
    EXPECT_FALSE(PlatformCheck(fake.platform(), TestDialog()));
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "Life can`t run on this Windows!\n");
    EXPECT_EQ(fake.boxes[0].caption, "Setup Error");
    EXPECT_EQ(fake.boxes[0].flags, 0x1030u);
    EXPECT_EQ(fake.boxes[0].owner, TestDialog());
  }
}

TEST(PlatformCheckTest, ReportsAFailedVersionQuery) {
  FakeSetup fake;
  fake.versionFails = true;
  EXPECT_FALSE(PlatformCheck(fake.platform(), TestDialog()));
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_EQ(fake.boxes[0].text, "Failed to get OS version!\n");
  EXPECT_EQ(fake.boxes[0].caption, "Setup Error");
  EXPECT_EQ(fake.boxes[0].flags, 0x1030u);
}

}  // namespace
