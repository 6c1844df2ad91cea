// The launcher's window in this process: the icon, its callback and menu
// commands, a re-created taskbar, and the start of Tuho from its own folder.
#include <gtest/gtest.h>

#include <functional>

#include "launcher/Launcher.h"
#include "platform/ProgramFolder.h"
#include "platform/Shell.h"
#include "support/TestFiles.h"

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

// A notification area that takes the icon only at the third try, as at
// log-on with a shell that is slow to start.
int gRefusedAdds = 0;
bool slowShellIcon(HWND, HINSTANCE, const NotifyIconInfo&) { return ++gRefusedAdds > 2; }

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
  // Dispatches messages until the condition holds, for at most two seconds.
  static bool pumpUntil(const std::function<bool()>& condition) {
    DWORD start = GetTickCount();
    MSG message;
    while (!condition() && GetTickCount() - start < 2000) {
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
      Sleep(5);
    }
    return condition();
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

TEST_F(LauncherTest, ALeftClickStartsTuhoByItsFullPathAndEndsTheLoop) {
  test::ScopedFile tuho(programFolder() + "\\Tuho.exe");
  notify(LAUNCHER_ICON_ID, WM_LBUTTONUP);
  EXPECT_TRUE(pumpSawQuit());
  ASSERT_EQ(shell.requests().size(), 1u);
  EXPECT_EQ(shell.requests()[0].verb, "open");
  EXPECT_EQ(shell.requests()[0].file, programFolder() + "\\Tuho.exe");
  EXPECT_EQ(shell.requests()[0].directory, programFolder());
}

TEST_F(LauncherTest, LaunchFromTheMenuDoesTheSameAndExitJustEnds) {
  test::ScopedFile tuho(programFolder() + "\\Tuho.exe");
  SendMessageA(launcher.window(), WM_COMMAND, LCMD_LAUNCH, 0);
  EXPECT_TRUE(pumpSawQuit());
  EXPECT_EQ(shell.requests().size(), 1u);
  SendMessageA(launcher.window(), WM_COMMAND, LCMD_EXIT, 0);
  EXPECT_TRUE(pumpSawQuit());
  EXPECT_FALSE(IsWindow(launcher.window())) << "Exit goes through WM_CLOSE, which destroys the window";
  EXPECT_EQ(shell.requests().size(), 1u);
}

TEST_F(LauncherTest, WithoutTuhoBesideItTheShellIsNotAskedAndTheLauncherStillEnds) {
  notify(LAUNCHER_ICON_ID, WM_LBUTTONUP);
  EXPECT_TRUE(pumpSawQuit());
  EXPECT_TRUE(shell.requests().empty()) << "no search of the shell's path for another Tuho.exe";
}

TEST_F(LauncherTest, AnIconTheShellRefusesIsTriedAgainUntilItIsAdded) {
  gRefusedAdds = 0;
  Launcher late;
  late.addIcon = &slowShellIcon;
  late.iconRetryMs = 10;
  ASSERT_TRUE(late.create(GetModuleHandleA(nullptr)));
  EXPECT_FALSE(late.hasIcon());
  EXPECT_TRUE(pumpUntil([&] { return late.hasIcon(); }));
  EXPECT_EQ(gRefusedAdds, 3);
  pumpSawQuit();
  EXPECT_EQ(gRefusedAdds, 3) << "no more tries once the icon is there";
  // A new taskbar that refuses the icon starts the tries again.
  gRefusedAdds = 0;
  SendMessageA(late.window(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_FALSE(late.hasIcon());
  EXPECT_TRUE(pumpUntil([&] { return late.hasIcon(); }));
  EXPECT_EQ(gRefusedAdds, 3);
}

}  // namespace
}  // namespace tuho
