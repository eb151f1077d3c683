// The program entry: the command line is ignored; the exit code is the quit
// message's, or 1 after the fatal-error report.
#include <windows.h>

#include "report/ErrorReport.h"
#include "app/Shell.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace runeplate;
  ModuleHandle = GetModuleHandleA(nullptr);
  ArmLastChanceHandler();
  StartupShowCommand = ReadStartupShowCommand();
  EndProgram(RunGuarded(RunApplication));
}
