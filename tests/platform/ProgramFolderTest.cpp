#include <gtest/gtest.h>

#include "platform/ProgramFolder.h"

namespace tuho {
namespace {

TEST(ProgramFolder, APathBesideTheProgramIsMadeOnlyWhenItFitsItsBuffer) {
  EXPECT_EQ(pathInFolder("C:\\Program Files\\Tunehoard", "help.html"), "C:\\Program Files\\Tunehoard\\help.html");
  std::string folder(10, 'f');
  EXPECT_EQ(pathInFolder(folder, "a.exe", 17), folder + "\\a.exe") << "16 characters and the terminator";
  EXPECT_EQ(pathInFolder(folder, "a.exe", 16), "");
  EXPECT_EQ(pathInFolder("", "a.exe"), "") << "no folder, no path";
  EXPECT_EQ(pathInFolder(std::string(250, 'x'), "TuhoKick.exe"), "");
  EXPECT_FALSE(programFolder().empty());
}

}  // namespace
}  // namespace tuho
