// A main window in this process on a temporary catalogue, a worker thread
// behind it, and the verbs the UI tests are written in.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "platform/Alert.h"
#include "support/BoxedStores.h"
#include "support/TreeTexts_win.h"
#include "support/TestFiles.h"
#include "ui/MainWindow.h"
#include "ui/UiIds.h"
#include "ui/WorkerLink.h"

namespace tuho::test {

class UiTest : public ::testing::Test {
 protected:
  UiTest();
  ~UiTest() override;

  // Removes the program's settings and the launcher's log-on entry.
  static void clearSettings();
  // A new main window on the same catalogue, settings read as at start-up.
  void createWindow();

  // Dispatches messages until the condition holds or the time runs out.
  bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 20000);
  void pumpFor(DWORD milliseconds);
  void startWorker();
  // Writes `count` MP3 files with ID3v1 tags below the music folder and
  // registers the folder as a source of the given kind.
  SourceRef* addSourceWithSongs(const std::string& name, MediaType kind, int count);
  SourceRef* registerFolder(const std::string& name, MediaType kind, const std::string& folder);
  // The tree is built from the posted combo notice; wait for it to fill the list.
  void waitForFirstNode();
  void resizeClient(int width, int height);
  HWND control(int id) const { return GetDlgItem(window->window(), id); }
  // The texts of a tree node's children (the roots without a parent), and
  // the child with this text, or null.
  std::vector<std::string> childTexts(HTREEITEM parent = nullptr) const {
    return test::childTexts(control(IDC_TREE), parent);
  }
  HTREEITEM node(HTREEITEM parent, const std::string& text) const {
    return childNamed(control(IDC_TREE), parent, text);
  }
  HBITMAP shownImage(int buttonId) const;
  RECT rectOf(int id) const;

  AlertSink alerts;
  TempDir dataDir;
  TempDir musicDir;
  BoxedSourceList sources;
  std::unique_ptr<Catalogue> catalogue;
  std::unique_ptr<MainWindow> window;
  WorkerLink worker;
};

}  // namespace tuho::test
