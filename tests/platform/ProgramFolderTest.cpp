#include <gtest/gtest.h>

#include "platform/ProgramFolder.h"
#include "platform/Shell.h"
#include "support/TestFiles.h"

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

// A file missing from the folder must not be looked for elsewhere: the shell
// gets the full path of a file that is there, and nothing otherwise.
TEST(ProgramFolder, FilesAreOpenedByTheirFullPathAndOnlyWhenTheyExist) {
  test::TempDir folder;
  ShellRecorder shell;
  openInFolder(folder.path(), "help.html", 7);
  openInFolder("", "help.html", 7);
  EXPECT_TRUE(shell.requests().empty());
  test::writeBytes(folder.file("help.html"), test::Bytes{'<', 'p', '>'});
  openInFolder(folder.path(), "help.html", 7);
  ASSERT_EQ(shell.requests().size(), 1u);
  ShellRequest request = shell.requests()[0];
  EXPECT_EQ(request.verb, "open");
  EXPECT_EQ(request.file, folder.path() + "\\help.html");
  EXPECT_EQ(request.directory, folder.path());
  EXPECT_EQ(request.owner, 7);
  EXPECT_TRUE(request.quiet);
}

}  // namespace
}  // namespace tuho
