#include <gtest/gtest.h>

#include "ProgramsList.h"

namespace {
const ProgramsEntry kLife = {"Life Faces", "lifefaces --root"};
const std::string kLine = "\t\t\t\t\"Life Faces\"  lifefaces --root\t\t    \\n\\\n";
}  // namespace

// The entry goes at the end of the last list, the way the list is written;
// nothing else changes, and a second run changes nothing.
TEST(ProgramsList, AddsTheEntryOnceAtTheEndOfTheList) {
  const std::string block = "programs:\t\t\t\t\t\t\t\t      \\\n" + kLine + "\n";
  const std::string xscreensaver =  // as xscreensaver-settings writes it
      "mode:\t\tone\nselected:\t1\n\nprograms:\t\t\t\t\t\t\t\t      \\\n"
      "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n- GL: \t\t\t\tsuperquadrics --root\t\t\t    \\n\\\n"
      "\n\npointerHysteresis:  10\n";
  const std::pair<std::string, std::string> cases[] = {
      {"", block},
      {"timeout: 0:10:00", "timeout: 0:10:00\n" + block},
      {"# programs: lifefaces\n", "# programs: lifefaces\n" + block},
      {"font: x \\\n", "font: x \\\n\n" + block},
      {xscreensaver, xscreensaver.substr(0, xscreensaver.find("\n\npointer")) + kLine +
                         xscreensaver.substr(xscreensaver.find("\n\npointer"))},
      {"programs: qix -root\nlock: True\n",
       "programs: qix -root \\n\\\n\t\t\t\t\"Life Faces\"  lifefaces --root\nlock: True\n"},
      {"PROGRAMS: qix -root \\n\n",
       "PROGRAMS: qix -root \\n\\\n\t\t\t\t\"Life Faces\"  lifefaces --root \\n\n"},
      {"programs:\n", "programs: \"Life Faces\"  lifefaces --root\n"},
      {"programs: \\\n  qix -root \\n\\\n", "programs: \\\n  qix -root \\n\\\n" + kLine},
      {"programs: maze\nprograms: \\\n  qix \\n\\\n\n",
       "programs: maze\nprograms: \\\n  qix \\n\\\n" + kLine + "\n"},
  };
  for (const auto& [before, expected] : cases) {
    std::string text = before;
    EXPECT_EQ(AddToProgramsList(text, kLife), ProgramsChange::kAdded) << before;
    EXPECT_EQ(text, expected) << before;
    const std::string once = text;
    EXPECT_EQ(AddToProgramsList(text, kLife), ProgramsChange::kPresent) << before;
    EXPECT_EQ(text, once);
  }
}

// Any entry that runs the same program counts, switched off, with a visual,
// a name or a folder, on any line of the list; a commented-out one, or one
// of a program whose name only contains it, does not.
TEST(ProgramsList, FindsTheProgramInAnyFormOfEntry) {
  const std::pair<std::string, ProgramsChange> cases[] = {
      {"programs: lifefaces\n", ProgramsChange::kPresent},
      {"programs: \\\n  maze -root \\n\\\n-  GL: \"Life\" /opt/x/lifefaces -root \\n\\\n\n",
       ProgramsChange::kPresent},
      {"programs: maze \\n\\\n\t\tlifefaces \\n\\\n  qix\n", ProgramsChange::kPresent},
      {"programs: maze\\nlifefaces -root\n", ProgramsChange::kPresent},
      {"programs: life\\\nfaces -root\n", ProgramsChange::kPresent},  // continued mid-word
      {"programs: lifefacesx \\n\\\n  mylifefaces\n", ProgramsChange::kAdded},
      {"! programs: lifefaces\nprograms: maze\n", ProgramsChange::kAdded},
  };
  for (const auto& [before, change] : cases) {
    std::string text = before;
    EXPECT_EQ(AddToProgramsList(text, kLife), change) << before;
    EXPECT_EQ(text == before, change == ProgramsChange::kPresent) << before;
  }
}
