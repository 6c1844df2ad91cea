// The main window beside the desktop: settings kept in the registry across
// restarts and every way of ending, the notification-area icon, the
// launcher's log-on entry, and the Preferences, Welcome and About dialogs.
#include "UiFixture.h"

#include <commctrl.h>

#include <optional>

#include "ModalScript.h"
#include "platform/ProgramFolder.h"
#include "platform/Shell.h"
#include "support/TestFiles.h"
#include "version.h"  // generated from the project version
#include "ui/desktop/LauncherEntry.h"
#include "ui/kit/RegistryKey.h"
#include "ui/desktop/Settings.h"
#include "ui/UiIds.h"
#include "ui/desktop/AboutDialog.h"
#include "ui/desktop/PreferencesDialog.h"
#include "ui/desktop/WelcomeDialog.h"

namespace tuho::test {
namespace {

int gIconAdds = 0;
bool gIconAreaPresent = true;

bool standInIcon(HWND, HINSTANCE, const NotifyIconInfo& icon) {
  EXPECT_EQ(icon.id, 2334u);
  EXPECT_EQ(icon.callbackMessage, 2333u);
  EXPECT_STREQ(icon.tip, "Tunehoard");
  ++gIconAdds;
  return gIconAreaPresent;
}

class DesktopTest : public UiTest {
 protected:
  DesktopTest() {
    gIconAdds = 0;
    gIconAreaPresent = true;
  }
  ~DesktopTest() override { clearSettings(); }

  // -- registry verbs
  static void storeDword(const char* name, DWORD value) { RegistryKey(kSettingsKeyPath).setDword(name, value); }
  static void storeString(const char* key, const char* name, const std::string& value) {
    RegistryKey(key).setString(name, value);
  }
  static std::optional<DWORD> stored(const char* name) { return RegistryKey(kSettingsKeyPath).dword(name); }
  static std::optional<std::string> runValue() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    LONG status = RegQueryValueExA(key, kLauncherValueName, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return std::nullopt;
    return std::string(data);
  }

  // -- window verbs
  // Ends the window (which saves its settings), lets `whileClosed` change
  // the registry, and starts a new one.
  void restart(const std::function<void()>& whileClosed = {}) {
    window.reset();
    drainQuit();
    if (whileClosed) whileClosed();
    createWindow();
    window->desktop().addIcon = &standInIcon;
  }
  // True when a quit message waited in the queue (it is taken out).
  bool drainQuit() {
    MSG message;
    bool quit = false;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) quit = true;
    return quit;
  }
  void command(int id) { SendMessageA(window->window(), WM_COMMAND, id, 0); }
  void trayNotify(WPARAM id, LPARAM event) {
    SendMessageA(window->window(), MMSG_TRAY_NOTIFY, id, event);
    pumpFor(20);
  }
  void taskbarCreated() {
    SendMessageA(window->window(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    pumpFor(20);
  }
  void showAndMinimise() {
    ShowWindow(window->window(), SW_SHOWNORMAL);
    pumpFor(20);
    ShowWindow(window->window(), SW_MINIMIZE);
    pumpFor(50);
  }
  RECT normalRect() const {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(window->window(), &placement);
    return placement.rcNormalPosition;
  }
  int columnWidth(int column) const {
    return static_cast<int>(SendMessageA(control(IDC_LIST), LVM_GETCOLUMNWIDTH, column, 0));
  }
  int grouping() const { return static_cast<int>(SendMessageA(control(IDC_GROUP_COMBO), CB_GETCURSEL, 0, 0)); }
  bool visible() const { return IsWindowVisible(window->window()) != FALSE; }
  bool minimised() const { return IsIconic(window->window()) != FALSE; }
  NotificationSettings& flags() { return window->desktop().settings(); }

  // Leaves the window as a user leaves it before ending: grouping "Album",
  // a wider first column, and a rectangle of its own.
  void arrangeWindow() {
    SendMessageA(control(IDC_GROUP_COMBO), CB_SETCURSEL, 2, 0);
    SendMessageA(control(IDC_LIST), LVM_SETCOLUMNWIDTH, 0, 170);
    SetWindowPos(window->window(), nullptr, 60, 50, 700, 500, SWP_NOZORDER);
    pumpFor(20);
  }
  void expectArranged() {
    EXPECT_EQ(grouping(), 2);
    EXPECT_EQ(columnWidth(0), 170);
    RECT rect = normalRect();
    EXPECT_EQ(rect.left, 60);
    EXPECT_EQ(rect.top, 50);
    EXPECT_EQ(rect.right, 760);
    EXPECT_EQ(rect.bottom, 550);
  }
};

// ---------------------------------------------------------------- settings

TEST_F(DesktopTest, AFreshUserGetsTheDefaultsAndTheKeyIsCreated) {
  EXPECT_EQ(columnWidth(0), 125);
  EXPECT_EQ(columnWidth(1), 125);
  EXPECT_EQ(columnWidth(2), 25);
  EXPECT_EQ(columnWidth(3), 200);
  EXPECT_EQ(grouping(), 0);
  EXPECT_FALSE(flags().minimiseToTray);
  EXPECT_FALSE(flags().launcherAtStartup);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, KEY_READ, &key), ERROR_SUCCESS);
  RegCloseKey(key);
}

TEST_F(DesktopTest, StoredValuesAreCheckedAndWrittenBackClean) {
  restart([] {
    storeDword("MinNotify", 5);
    storeString(kSettingsKeyPath, "Col0", "12");  // a text where a number belongs
    storeDword("Col1", 90);
    storeDword("GRoot", 7);
  });
  EXPECT_TRUE(flags().minimiseToTray);
  EXPECT_EQ(columnWidth(0), 125);
  EXPECT_EQ(columnWidth(1), 90);
  EXPECT_EQ(grouping(), 0) << "a grouping outside 0 to 2 is Genre";
  window.reset();
  EXPECT_EQ(stored("MinNotify"), 1u);
  EXPECT_EQ(stored("Col0"), 125u);
  EXPECT_EQ(stored("Col1"), 90u);
  EXPECT_EQ(stored("GRoot"), 0u);
}

TEST_F(DesktopTest, OnlyAStoredLeftEdgeMovesOnlyTheLeftEdge) {
  RECT fresh = normalRect();
  restart([&] {
    clearSettings();
    storeDword("Left", static_cast<DWORD>(fresh.left + 40));
  });
  RECT rect = normalRect();
  EXPECT_EQ(rect.left, fresh.left + 40);
  EXPECT_EQ(rect.top, fresh.top);
  EXPECT_EQ(rect.right, fresh.right);
  EXPECT_EQ(rect.bottom, fresh.bottom);
}

TEST_F(DesktopTest, ARectangleOnNoMonitorIsNotApplied) {
  RECT fresh = normalRect();
  restart([] {
    clearSettings();
    storeDword("Left", 9000);
    storeDword("Top", 9000);
    storeDword("Right", 9600);
    storeDword("Bottom", 9400);
  });
  RECT rect = normalRect();
  EXPECT_EQ(rect.left, fresh.left);
  EXPECT_EQ(rect.top, fresh.top);
  EXPECT_EQ(rect.right, fresh.right);
}

// The placement's rectangle counts from the work area's corner: with a
// taskbar 60 pixels wide on the left, workspace x 0 is screen x 60.
TEST_F(DesktopTest, TheOffScreenCheckLooksAtScreenCoordinates) {
  int width = GetSystemMetrics(SM_CXSCREEN);
  POINT leftTaskbar = {60, 0};
  ViewSettings pastTheRightEdge;
  pastTheRightEdge.left = width - 50;
  pastTheRightEdge.right = width - 20;
  RECT normal = {100, 100, 400, 300};
  EXPECT_FALSE(restoredRect(normal, pastTheRightEdge, leftTaskbar)) << "on screen at x " << width + 10 << " and on";
  EXPECT_TRUE(restoredRect(normal, pastTheRightEdge, POINT{0, 0}));
  ViewSettings underTheTaskbar;
  underTheTaskbar.left = -100;
  underTheTaskbar.right = -30;
  std::optional<RECT> kept = restoredRect(normal, underTheTaskbar, leftTaskbar);
  ASSERT_TRUE(kept) << "on screen from x -40 to 30";
  EXPECT_EQ(kept->left, -100) << "the rectangle itself stays in workspace coordinates";
  EXPECT_FALSE(restoredRect(normal, underTheTaskbar, POINT{0, 0}));
  ViewSettings aboveTheTop;
  aboveTheTop.top = -80;
  aboveTheTop.bottom = -10;
  EXPECT_TRUE(restoredRect(normal, aboveTheTop, POINT{0, 40})) << "a taskbar at the top";
  EXPECT_FALSE(restoredRect(normal, aboveTheTop, POINT{0, 0}));
}

TEST_F(DesktopTest, GroupingColumnsAndPlacementSurviveTheCloseBox) {
  arrangeWindow();
  SendMessageA(window->window(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(drainQuit());
  EXPECT_FALSE(IsWindow(window->window()));
  EXPECT_FALSE(window->desktop().launcherWanted()) << "the launcher does not run at log-on";
  restart();
  expectArranged();
}

TEST_F(DesktopTest, ExitFromTheTrayMenuSavesOnceAndWantsTheLauncher) {
  arrangeWindow();
  command(CMD_EXIT);
  EXPECT_TRUE(drainQuit());
  EXPECT_TRUE(IsWindow(window->window())) << "the loop ends without destroying the window";
  EXPECT_TRUE(window->desktop().launcherWanted());
  EXPECT_EQ(stored("GRoot"), 2u);
  // What happens after the exit is not saved a second time.
  SendMessageA(control(IDC_GROUP_COMBO), CB_SETCURSEL, 1, 0);
  restart();
  expectArranged();
}

TEST_F(DesktopTest, ExitWithoutLauncherAndTheCloseBoxFollowTheLauncherChoice) {
  command(CMD_EXIT_NO_LAUNCHER);
  EXPECT_TRUE(drainQuit());
  EXPECT_FALSE(window->desktop().launcherWanted());
  EXPECT_TRUE(stored("MinNotify").has_value()) << "settings are saved on this way out too";
  // Unquoted, as older builds wrote it.
  restart([] { storeString(kRunKeyPath, kLauncherValueName, "C:\\Tunehoard\\TuhoKick.exe"); });
  EXPECT_TRUE(flags().launcherAtStartup);
  SendMessageA(window->window(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(drainQuit());
  EXPECT_TRUE(window->desktop().launcherWanted());
}

// Windows ends the process after these two messages, with no WM_CLOSE or
// WM_DESTROY: everything worth keeping is saved and closed on the second.
TEST_F(DesktopTest, TheEndOfTheSessionSavesOnceAndClosesAsAtExit) {
  int closings = 0;
  window->desktop().onSessionEnd = [&] {
    ++closings;
    EXPECT_EQ(stored("GRoot"), 2u) << "the settings are saved before the catalogue is closed";
  };
  arrangeWindow();
  flags().minimiseToTray = true;
  EXPECT_EQ(SendMessageA(window->window(), WM_QUERYENDSESSION, 0, 0), TRUE) << "the session may end";
  SendMessageA(window->window(), WM_ENDSESSION, FALSE, 0);  // called off by another program
  EXPECT_EQ(closings, 0);
  EXPECT_FALSE(stored("GRoot"));
  SendMessageA(window->window(), WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(closings, 1);
  EXPECT_EQ(stored("MinNotify"), 1u);
  EXPECT_TRUE(drainQuit()) << "should the process live on, its loop ends";
  EXPECT_FALSE(window->desktop().launcherWanted()) << "the next log-on starts the launcher";
  SendMessageA(control(IDC_GROUP_COMBO), CB_SETCURSEL, 1, 0);
  SendMessageA(window->window(), WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(closings, 1) << "once";
  restart();
  expectArranged();
  EXPECT_TRUE(flags().minimiseToTray);
}

// ---------------------------------------------------------------- notification icon

TEST_F(DesktopTest, MinimisingHidesBehindTheIconAndAClickBringsItBack) {
  window->desktop().addIcon = &standInIcon;
  flags().minimiseToTray = true;
  showAndMinimise();
  EXPECT_EQ(gIconAdds, 1);
  EXPECT_TRUE(window->desktop().inTray());
  EXPECT_FALSE(visible());
  taskbarCreated();
  EXPECT_EQ(gIconAdds, 2) << "a new taskbar gets the icon again";
  EXPECT_FALSE(visible());
  trayNotify(99, WM_LBUTTONUP);
  trayNotify(TRAY_ICON_ID, WM_MOUSEMOVE);
  EXPECT_TRUE(window->desktop().inTray()) << "other icons and other events do nothing";
  trayNotify(TRAY_ICON_ID, WM_LBUTTONUP);
  EXPECT_FALSE(window->desktop().inTray());
  EXPECT_TRUE(visible());
  EXPECT_FALSE(minimised());
  taskbarCreated();
  EXPECT_EQ(gIconAdds, 2) << "no icon while the window is shown";
}

TEST_F(DesktopTest, WithoutANotificationAreaMinimisingLeavesAnOrdinaryMinimisedWindow) {
  window->desktop().addIcon = &standInIcon;
  gIconAreaPresent = false;
  flags().minimiseToTray = true;
  showAndMinimise();
  EXPECT_EQ(gIconAdds, 1);
  EXPECT_FALSE(window->desktop().inTray());
  EXPECT_TRUE(visible());
  EXPECT_TRUE(minimised());
}

TEST_F(DesktopTest, WithMinNotifyOffMinimisingAddsNoIcon) {
  window->desktop().addIcon = &standInIcon;
  showAndMinimise();
  EXPECT_EQ(gIconAdds, 0);
  EXPECT_TRUE(visible());
  EXPECT_TRUE(minimised());
}

TEST_F(DesktopTest, TheRealNotificationAreaEitherTakesTheIconOrLeavesTheWindowInView) {
  flags().minimiseToTray = true;
  showAndMinimise();
  if (window->desktop().inTray()) {
    EXPECT_FALSE(visible());
    command(CMD_RESTORE);
    EXPECT_TRUE(visible());
  } else {
    EXPECT_TRUE(visible());
    EXPECT_TRUE(minimised());
  }
}

// ---------------------------------------------------------------- shell

TEST_F(DesktopTest, HelpAndTheLauncherAreStartedByTheirFullPathsAndOnlyWhenThere) {
  ShellRecorder shell;
  command(CMD_HELP);
  startLauncher();
  EXPECT_TRUE(shell.requests().empty()) << "missing files are not looked for on the shell's search path";
  test::ScopedFile help(programFolder() + "\\help.html");
  test::ScopedFile launcher(programFolder() + "\\TuhoKick.exe");
  command(CMD_HELP);
  startLauncher();
  std::vector<ShellRequest> requests = shell.requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].verb, "open");
  EXPECT_EQ(requests[0].file, programFolder() + "\\help.html");
  EXPECT_EQ(requests[0].directory, programFolder());
  EXPECT_EQ(requests[1].file, programFolder() + "\\TuhoKick.exe");
  EXPECT_EQ(requests[1].directory, programFolder());
}

// ---------------------------------------------------------------- dialogs

TEST_F(DesktopTest, PreferencesCancelledAfterTogglingChangesNothing) {
  bool ticked[2] = {};
  ModalScript driver({onDialog("Preferences", [&](HWND dialog) {
    press(dialog, IDC_PREF_MINIMIZE);
    press(dialog, IDC_PREF_RUN_LAUNCHER);
    ticked[0] = IsDlgButtonChecked(dialog, IDC_PREF_MINIMIZE) == BST_CHECKED;
    ticked[1] = IsDlgButtonChecked(dialog, IDC_PREF_RUN_LAUNCHER) == BST_CHECKED;
    press(dialog, IDCANCEL);
  })});
  command(CMD_PREFERENCES);
  ASSERT_TRUE(driver.finished());
  EXPECT_TRUE(ticked[0] && ticked[1]) << "each click ticks its box";
  EXPECT_FALSE(flags().minimiseToTray);
  EXPECT_FALSE(flags().launcherAtStartup);
  EXPECT_FALSE(runValue());
}

TEST_F(DesktopTest, PreferencesConfirmedWritesTheQuotedRunValueAtOnceAndMinNotifyAtTheEnd) {
  ModalScript tick({onDialog("Preferences", [&](HWND dialog) {
    press(dialog, IDC_PREF_MINIMIZE);
    press(dialog, IDC_PREF_RUN_LAUNCHER);
    press(dialog, IDOK);
  })});
  command(CMD_PREFERENCES);
  ASSERT_TRUE(tick.finished());
  EXPECT_TRUE(flags().minimiseToTray);
  EXPECT_TRUE(flags().launcherAtStartup);
  EXPECT_EQ(runValue(), "\"" + programFolder() + "\\TuhoKick.exe\"");
  EXPECT_FALSE(stored("MinNotify")) << "the choice reaches the registry when the window ends";
  command(CMD_EXIT);
  drainQuit();
  EXPECT_EQ(stored("MinNotify"), 1u);

  restart();
  bool shownTicked = false;
  ModalScript untick({onDialog("Preferences", [&](HWND dialog) {
    shownTicked = IsDlgButtonChecked(dialog, IDC_PREF_RUN_LAUNCHER) == BST_CHECKED;
    press(dialog, IDC_PREF_RUN_LAUNCHER);
    press(dialog, IDOK);
  })});
  command(CMD_PREFERENCES);
  EXPECT_TRUE(shownTicked);
  EXPECT_FALSE(flags().launcherAtStartup);
  EXPECT_FALSE(runValue());
}

TEST_F(DesktopTest, AProgramFolderTooLongForTheRunValueWritesNothing) {
  EXPECT_EQ(launcherEntryFor("C:\\Program Files\\Tunehoard"), "\"C:\\Program Files\\Tunehoard\\TuhoKick.exe\"");
  EXPECT_FALSE(setLauncherEntry(std::string(250, 'x')));
  EXPECT_FALSE(runValue());
}

// An entry that an older build wrote unquoted, or that starts a copy in
// another folder, shows the box ticked; OK puts this folder's entry there.
TEST_F(DesktopTest, ConfirmingWithTheBoxTickedCorrectsAStaleRunValue) {
  std::string ours = "\"" + programFolder() + "\\TuhoKick.exe\"";
  for (const std::string& stale : {std::string("C:\\Old Copy\\TuhoKick.exe"), std::string(400, 'x')}) {
    restart([&] { storeString(kRunKeyPath, kLauncherValueName, stale); });
    EXPECT_TRUE(flags().launcherAtStartup) << stale;
    bool shownTicked = false;
    ModalScript confirm({onDialog("Preferences", [&](HWND dialog) {
      shownTicked = IsDlgButtonChecked(dialog, IDC_PREF_RUN_LAUNCHER) == BST_CHECKED;
      press(dialog, IDOK);
    })});
    command(CMD_PREFERENCES);
    EXPECT_TRUE(shownTicked);
    EXPECT_EQ(runValue(), ours);
    EXPECT_TRUE(flags().launcherAtStartup);
  }
  // A right entry is left as it is: its type shows that nothing was written.
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  RegSetValueExA(key, kLauncherValueName, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(ours.c_str()),
                 static_cast<DWORD>(ours.size() + 1));
  RegCloseKey(key);
  restart();
  ModalScript confirm({onDialog("Preferences", [&](HWND dialog) { press(dialog, IDOK); })});
  command(CMD_PREFERENCES);
  ASSERT_TRUE(confirm.finished());
  DWORD type = 0;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_READ, &key), ERROR_SUCCESS);
  RegQueryValueExA(key, kLauncherValueName, nullptr, &type, nullptr, nullptr);
  RegCloseKey(key);
  EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
}

TEST_F(DesktopTest, WelcomeKeepsItsWordingAndYesPleaseOpensHelp) {
  std::string text;
  ModalScript yes({onDialog("Like Help?", [&](HWND dialog) {
    char buffer[256] = {};
    HWND child = GetWindow(dialog, GW_CHILD);
    for (; child; child = GetWindow(child, GW_HWNDNEXT)) {
      GetWindowTextA(child, buffer, sizeof buffer);
      if (std::string(buffer).rfind("You current", 0) == 0) text = buffer;
    }
    press(dialog, IDOK);
  })});
  ShellRecorder shell;
  test::ScopedFile help(programFolder() + "\\help.html");
  window->desktop().welcomeIfNoSources(0);
  ASSERT_TRUE(yes.finished());
  EXPECT_EQ(text, "You current have no media sources. Would you like some help finding your way around?");
  ASSERT_EQ(shell.requests().size(), 1u);
  EXPECT_EQ(shell.requests()[0].file, programFolder() + "\\help.html");

  ModalScript no({onDialog("Like Help?", [&](HWND dialog) { press(dialog, IDCANCEL); })});
  WelcomeDialog welcome;
  bool helped = false;
  EXPECT_FALSE(welcome.run(GetModuleHandleA(nullptr), window->window(), [&] { helped = true; }));
  EXPECT_FALSE(helped);
  window->desktop().welcomeIfNoSources(1);  // with a source nothing is offered
  EXPECT_EQ(shell.requests().size(), 1u);
}

TEST_F(DesktopTest, AboutShowsTheFileVersionOnItsOwnBackground) {
  std::string text;
  HBRUSH brushes[2] = {};
  ModalScript about({onDialog("About Tunehoard", [&](HWND dialog) {
    HWND version = GetDlgItem(dialog, IDC_ABOUT_VERSION);
    char buffer[64] = {};
    GetWindowTextA(version, buffer, sizeof buffer);
    text = buffer;
    HDC dc = GetDC(version);
    for (HBRUSH& brush : brushes) {
      brush = reinterpret_cast<HBRUSH>(SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                    reinterpret_cast<LPARAM>(version)));
    }
    EXPECT_EQ(GetBkColor(dc), RGB(244, 243, 243));
    ReleaseDC(version, dc);
    press(dialog, IDCANCEL);
  })});
  command(CMD_ABOUT);
  ASSERT_TRUE(about.finished());
  EXPECT_EQ(text, std::string("Version: ") + TUHO_VERSION_TEXT);
  ASSERT_NE(brushes[0], nullptr);
  EXPECT_EQ(brushes[0], brushes[1]) << "one brush, made once";
  LOGBRUSH colour = {};
  GetObjectA(brushes[0], sizeof colour, &colour);
  EXPECT_EQ(colour.lbColor, RGB(244, 243, 243));
}

TEST_F(DesktopTest, AFileWithoutAVersionResourceShowsNoNumbers) {
  std::string file = dataDir.file("plain.txt");
  writeBytes(file, Bytes{'t', 'e', 'x', 't'});
  EXPECT_EQ(versionText(file), "Version: ");
  EXPECT_EQ(versionText(dataDir.file("missing.exe")), "Version: ");
}

}  // namespace
}  // namespace tuho::test
