// Numbers of the main window: its commands, strip buttons, controls and
// window messages.
#pragma once

namespace tuho {

// Commands (WM_COMMAND low word).
constexpr int CMD_MEDIA_STORE = 1101;
constexpr int CMD_READY_ALL = 1104;
constexpr int CMD_PLAY_ALL = 2116;
constexpr int CMD_ENQUEUE_ALL = 2119;
constexpr int CMD_EDIT_TAG = 2125;
constexpr int CMD_DELETE = 2128;
constexpr int CMD_READY_SELECTED = 2201;
constexpr int CMD_ENQUEUE_SELECTED = 2203;
constexpr int CMD_PLAY_SELECTED = 2204;
constexpr int CMD_ABOUT = 2318;
constexpr int CMD_UNREADY_ALL = 2325;
constexpr int CMD_UNREADY_SELECTED = 2326;
constexpr int CMD_PREFERENCES = 2335;
constexpr int CMD_HELP = 2338;
constexpr int CMD_EXIT = 2339;
constexpr int CMD_RESTORE = 2340;
constexpr int CMD_EXIT_NO_LAUNCHER = 2341;

// Strip buttons (control ids of their statics).
constexpr int BTN_MEDIA_STORE = 2309;
constexpr int BTN_READY_ALL = 2311;
constexpr int BTN_READY_SELECTED = 2312;
constexpr int BTN_PLAY_ALL = 2313;
constexpr int BTN_PLAY_SELECTED = 2314;
constexpr int BTN_ENQUEUE_ALL = 2315;
constexpr int BTN_ENQUEUE_SELECTED = 2316;
constexpr int BTN_CONFIG = 2317;

// Controls.
constexpr int IDC_PROGRESS_FILE = 1001;
constexpr int IDC_TREE = 1102;
constexpr int IDC_LIST = 1103;
constexpr int IDC_GROUP_COMBO = 2131;
// The find box (an edit control, reached with Ctrl+F) and the counts line
// below it, right of the button strip.
constexpr int IDC_FIND_BOX = 2134;
constexpr int IDC_COUNTS = 2135;
constexpr int IDC_PROGRESS_COUNT = 2327;
constexpr int IDC_FRAME_TOP_LEFT = 2300;
constexpr int IDC_FRAME_BOTTOM_LEFT = 2301;
constexpr int IDC_FRAME_TOP_RIGHT = 2302;
constexpr int IDC_FRAME_BOTTOM_RIGHT = 2303;
constexpr int IDC_FRAME_TOP = 2304;
constexpr int IDC_FRAME_BOTTOM = 2305;
constexpr int IDC_FRAME_LEFT = 2306;
constexpr int IDC_FRAME_SEPARATOR = 2307;
constexpr int IDC_FRAME_RIGHT = 2308;

// Window messages of the main window (the tree's own are in
// ui/browse/GroupTree.h).
constexpr unsigned MMSG_SKIN_CLICK = 2310;
constexpr unsigned MMSG_TRAY_NOTIFY = 2333;

// Timers of the main window: the counts line shows a burst of selection
// changes once it is over.
constexpr unsigned TIMER_SHOW_COUNTS = 1;

}  // namespace tuho
