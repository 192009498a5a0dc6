#include <gtest/gtest.h>

#include <string>

#include "SetupMessage.h"

namespace {

std::string Raised(void (*raise)()) {
  try {
    raise();
  } catch (const SetupMessage& message) {
    return message.text();
  }
  ADD_FAILURE() << "nothing raised";
  return {};
}

TEST(SetupMessageTest, CarriesThePrintfFormattedText) {
  EXPECT_EQ(Raised([] { RaiseSetupMessage("No %s present!", "disk1\\life.scr"); }),
            "No disk1\\life.scr present!");
  EXPECT_EQ(Raised([] { RaiseSetupMessage("Failed to get OS version!\n"); }),
            "Failed to get OS version!\n");
  EXPECT_EQ(Raised([] { RaiseSetupMessage("%lu%%", 42ul); }), "42%");
}

TEST(SetupMessageTest, KeepsAtMost1023Characters) {
  const std::string longText(3000, 'x');
  static std::string text;
  text = longText;
  const std::string raised = Raised([] { RaiseSetupMessage("%s", text.c_str()); });
  EXPECT_EQ(raised, std::string(1023, 'x'));
  EXPECT_EQ(SetupMessage(longText.c_str()).text(), std::string(1023, 'x'));
}

}  // namespace
