#include "UiFixture.h"

#include <commctrl.h>
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

TEST_F(SkinStripTest, EachButtonHasItsTooltip) {
  HWND tips = window->strip().tooltips();
  ASSERT_TRUE(tips);
  EXPECT_EQ(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0), 8);
  char text[100] = {};
  TOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V1_SIZE;
  tool.hwnd = control(BTN_MEDIA_STORE);
  tool.uId = BTN_MEDIA_STORE;
  tool.lpszText = text;
  SendMessageA(tips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
  EXPECT_STREQ(text, "Media Store");
}

}  // namespace
}  // namespace tuho::test
