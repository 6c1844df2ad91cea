#include "UiFixture.h"

#include <commctrl.h>

#include <string>

#include "ui/UiIds.h"

namespace tuho::test {
namespace {

class SkinStripTest : public UiTest {
 protected:
  const SkinButton& button(int id) { return *window->strip().button(id); }
  // A skin click that the button posted, taken off the queue.
  bool takeSkinClick(int buttonId) {
    MSG message;
    if (!PeekMessageA(&message, window->window(), MMSG_SKIN_CLICK, MMSG_SKIN_CLICK, PM_REMOVE)) return false;
    return message.wParam == static_cast<WPARAM>(buttonId);
  }
  void mouse(int buttonId, UINT message) { SendMessageA(control(buttonId), message, 0, MAKELPARAM(5, 5)); }
};

TEST_F(SkinStripTest, AfterResetOnlyMediaStoreAndConfigurationAreEnabled) {
  for (int id : {BTN_MEDIA_STORE, BTN_CONFIG}) {
    EXPECT_TRUE(window->strip().isEnabled(id));
    EXPECT_EQ(shownImage(id), button(id).normal.get());
  }
  for (int id : {BTN_READY_ALL, BTN_READY_SELECTED, BTN_PLAY_ALL, BTN_PLAY_SELECTED, BTN_ENQUEUE_ALL,
                 BTN_ENQUEUE_SELECTED}) {
    EXPECT_FALSE(window->strip().isEnabled(id));
    EXPECT_EQ(shownImage(id), button(id).disabled.get());
  }
}

TEST_F(SkinStripTest, EveryButtonHasFourDistinctImages) {
  for (int id : {BTN_MEDIA_STORE, BTN_READY_ALL, BTN_READY_SELECTED, BTN_PLAY_ALL, BTN_PLAY_SELECTED,
                 BTN_ENQUEUE_ALL, BTN_ENQUEUE_SELECTED, BTN_CONFIG}) {
    const SkinButton& b = button(id);
    ASSERT_TRUE(b.normal.get() && b.hover.get() && b.pressed.get() && b.disabled.get()) << id;
    EXPECT_NE(b.normal.get(), b.hover.get());
    EXPECT_NE(b.pressed.get(), b.disabled.get());
  }
}

TEST_F(SkinStripTest, HoverPressAndReleaseShowTheirImagesAndPostTheClick) {
  mouse(BTN_MEDIA_STORE, WM_MOUSEMOVE);
  EXPECT_EQ(shownImage(BTN_MEDIA_STORE), button(BTN_MEDIA_STORE).hover.get());
  EXPECT_EQ(button(BTN_MEDIA_STORE).hovering, 1);
  mouse(BTN_MEDIA_STORE, WM_LBUTTONDOWN);
  EXPECT_EQ(shownImage(BTN_MEDIA_STORE), button(BTN_MEDIA_STORE).pressed.get());
  EXPECT_FALSE(takeSkinClick(BTN_MEDIA_STORE));
  mouse(BTN_MEDIA_STORE, WM_LBUTTONUP);
  EXPECT_EQ(shownImage(BTN_MEDIA_STORE), button(BTN_MEDIA_STORE).normal.get());
  EXPECT_TRUE(takeSkinClick(BTN_MEDIA_STORE));
}

TEST_F(SkinStripTest, LeavingTheButtonRestoresItsNormalImage) {
  mouse(BTN_CONFIG, WM_MOUSEMOVE);
  mouse(BTN_CONFIG, WM_MOUSELEAVE);
  EXPECT_EQ(shownImage(BTN_CONFIG), button(BTN_CONFIG).normal.get());
  EXPECT_EQ(button(BTN_CONFIG).hovering, 0);
}

TEST_F(SkinStripTest, ADisabledButtonKeepsItsImageAndPostsNothing) {
  for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}) mouse(BTN_PLAY_ALL, message);
  EXPECT_EQ(shownImage(BTN_PLAY_ALL), button(BTN_PLAY_ALL).disabled.get());
  EXPECT_FALSE(takeSkinClick(BTN_PLAY_ALL));
}

TEST_F(SkinStripTest, SuspensionsNestAndTheLastResumeRestoresExactlyTheEnabledButtons) {
  SkinStrip& strip = window->strip();
  strip.enable(BTN_PLAY_ALL);
  EXPECT_TRUE(strip.suspend());
  for (int id : {BTN_MEDIA_STORE, BTN_CONFIG, BTN_PLAY_ALL}) EXPECT_EQ(shownImage(id), button(id).disabled.get());
  EXPECT_FALSE(strip.suspend());  // a progress dialog inside the Media Store
  strip.resume();                 // the progress dialog ends
  EXPECT_TRUE(strip.suspended());
  EXPECT_FALSE(strip.isEnabled(BTN_MEDIA_STORE));
  // A list filled meanwhile resets the strip: nothing shows until the resume.
  strip.reset();
  strip.enable(BTN_ENQUEUE_ALL);
  EXPECT_FALSE(strip.isEnabled(BTN_MEDIA_STORE));
  EXPECT_EQ(shownImage(BTN_MEDIA_STORE), button(BTN_MEDIA_STORE).disabled.get());
  strip.resume();
  for (int id : {BTN_MEDIA_STORE, BTN_CONFIG, BTN_ENQUEUE_ALL}) EXPECT_TRUE(strip.isEnabled(id));
  EXPECT_EQ(shownImage(BTN_ENQUEUE_ALL), button(BTN_ENQUEUE_ALL).normal.get());
  EXPECT_FALSE(strip.isEnabled(BTN_PLAY_ALL));  // the reset disabled it
  EXPECT_FALSE(strip.suspended());
  strip.resume();  // an extra resume changes nothing
  EXPECT_FALSE(strip.suspended());
}

TEST_F(SkinStripTest, SelectionButtonsFollowTheirAllButtons) {
  SkinStrip& strip = window->strip();
  ListCommands playable;
  playable.playable = true;
  strip.showCommands(playable, false);
  EXPECT_TRUE(strip.isEnabled(BTN_PLAY_ALL));
  EXPECT_FALSE(strip.isEnabled(BTN_PLAY_SELECTED));
  strip.showCommands(playable, true);
  EXPECT_TRUE(strip.isEnabled(BTN_PLAY_SELECTED));
  EXPECT_TRUE(strip.isEnabled(BTN_ENQUEUE_SELECTED));  // whatever plays can be queued
  EXPECT_FALSE(strip.isEnabled(BTN_READY_SELECTED));
}

// What a user sees and what assistive technology reads agree: each button's
// window text is its tooltip with the shortcut, its window is disabled
// exactly when the strip shows it disabled, and the tip still shows over a
// disabled button (through the main window, which then gets the mouse).
TEST_F(SkinStripTest, EachButtonIsNamedByItsTooltipAndExposesItsState) {
  HWND tips = window->strip().tooltips();
  ASSERT_TRUE(tips);
  EXPECT_EQ(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0), 16);
  auto tipOf = [&](HWND owner, int id) {
    char text[100] = {};
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.hwnd = owner;
    tool.uId = static_cast<UINT_PTR>(id);
    tool.lpszText = text;
    SendMessageA(tips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    return std::string(text);
  };
  EXPECT_EQ(tipOf(control(BTN_MEDIA_STORE), BTN_MEDIA_STORE), "Media Store (Ctrl+M)");
  EXPECT_EQ(tipOf(control(BTN_PLAY_SELECTED), BTN_PLAY_SELECTED), "Play selected items (Ctrl+Shift+P)");
  EXPECT_EQ(tipOf(control(BTN_CONFIG), BTN_CONFIG), "Configuration (F10)");
  const int all[] = {BTN_MEDIA_STORE,   BTN_READY_ALL,   BTN_READY_SELECTED,   BTN_PLAY_ALL,
                     BTN_PLAY_SELECTED, BTN_ENQUEUE_ALL, BTN_ENQUEUE_SELECTED, BTN_CONFIG};
  for (int id : all) {
    char name[100] = {};
    GetWindowTextA(control(id), name, sizeof name);
    EXPECT_EQ(name, tipOf(control(id), id)) << id;
    EXPECT_EQ(tipOf(window->window(), id), name) << id;
  }
  auto statesAgree = [&] {
    for (int id : all) {
      bool lit = window->strip().isEnabled(id);
      EXPECT_EQ(IsWindowEnabled(control(id)) != FALSE, lit) << id;
      EXPECT_EQ(shownImage(id), lit ? button(id).normal.get() : button(id).disabled.get()) << id;
    }
  };
  statesAgree();
  EXPECT_TRUE(IsWindowEnabled(control(BTN_MEDIA_STORE)));
  EXPECT_FALSE(IsWindowEnabled(control(BTN_PLAY_ALL)));
  ListCommands playable;
  playable.playable = true;
  window->strip().showCommands(playable, true);
  statesAgree();
  window->strip().suspend();
  for (int id : all) EXPECT_FALSE(IsWindowEnabled(control(id))) << id;
  window->strip().resume();
  statesAgree();
  EXPECT_TRUE(IsWindowEnabled(control(BTN_PLAY_SELECTED)));
}

}  // namespace
}  // namespace tuho::test
