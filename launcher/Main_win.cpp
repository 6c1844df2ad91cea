// TuhoKick's entry point.
#include "launcher/Launcher.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return tuho::runLauncher(instance); }
