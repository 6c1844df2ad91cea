// The launcher's window in this process: the icon, its callback and menu
// commands, a re-created taskbar, and the start of Tuho from its own folder.
#include <gtest/gtest.h>

#include "launcher/Launcher.h"
#include "platform/ProgramFolder.h"
#include "platform/Shell.h"

namespace tuho {
namespace {

int gIconAdds = 0;

bool standInIcon(HWND, HINSTANCE, const NotifyIconInfo& icon) {
  EXPECT_EQ(icon.id, 2011u);
  EXPECT_EQ(icon.callbackMessage, 2010u);
  EXPECT_EQ(icon.iconResource, 102);
  EXPECT_STREQ(icon.tip, "Tunehoard Loader");
  ++gIconAdds;
  return true;
}

class LauncherTest : public ::testing::Test {
 protected:
  LauncherTest() {
    gIconAdds = 0;
    launcher.addIcon = &standInIcon;
    EXPECT_TRUE(launcher.create(GetModuleHandleA(nullptr)));
  }

  // Dispatches what is queued; true when the loop would have ended.
  bool pumpSawQuit() {
    bool quit = false;
    MSG message;
    for (int round = 0; round < 20; ++round) {
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) quit = true;
        DispatchMessageA(&message);
      }
      Sleep(5);
    }
    return quit;
  }
  void notify(WPARAM id, LPARAM event) { SendMessageA(launcher.window(), LMSG_TRAY_NOTIFY, id, event); }

  ShellRecorder shell;
  Launcher launcher;
};

TEST_F(LauncherTest, AHiddenMarkedWindowWithItsIconThatANewTaskbarGetsAgain) {
  EXPECT_EQ(FindWindowA("TuhoKick", "TuhoKick"), launcher.window());
  EXPECT_FALSE(IsWindowVisible(launcher.window()));
  EXPECT_EQ(gIconAdds, 1);
  SendMessageA(launcher.window(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_EQ(gIconAdds, 2);
  notify(99, WM_LBUTTONUP);
  notify(LAUNCHER_ICON_ID, WM_MOUSEMOVE);
  EXPECT_FALSE(pumpSawQuit()) << "other icons and other events do nothing";
  EXPECT_TRUE(shell.requests().empty());
}

TEST_F(LauncherTest, ALeftClickStartsTuhoFromItsOwnFolderAndEndsTheLoop) {
  notify(LAUNCHER_ICON_ID, WM_LBUTTONUP);
  EXPECT_TRUE(pumpSawQuit());
  ASSERT_EQ(shell.requests().size(), 1u);
  EXPECT_EQ(shell.requests()[0].verb, "open");
  EXPECT_EQ(shell.requests()[0].file, "Tuho.exe");
  EXPECT_EQ(shell.requests()[0].directory, programFolder());
}

TEST_F(LauncherTest, LaunchFromTheMenuDoesTheSameAndExitJustEnds) {
  SendMessageA(launcher.window(), WM_COMMAND, LCMD_LAUNCH, 0);
  EXPECT_TRUE(pumpSawQuit());
  EXPECT_EQ(shell.requests().size(), 1u);
  SendMessageA(launcher.window(), WM_COMMAND, LCMD_EXIT, 0);
  EXPECT_TRUE(pumpSawQuit());
  EXPECT_FALSE(IsWindow(launcher.window())) << "Exit goes through WM_CLOSE, which destroys the window";
  EXPECT_EQ(shell.requests().size(), 1u);
}

}  // namespace
}  // namespace tuho
