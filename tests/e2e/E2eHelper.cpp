// runeplate-e2e-helper: the end-to-end scenarios' hands inside Wine.
//
//   close            post WM_CLOSE to the program's window, as a close request
//                    from the system would arrive
//   hold FILE SECS   open FILE without sharing it and keep it open for SECS
//                    seconds (or until killed); prints "held" once it is open
//   switch SECS      show a window of its own and make it the foreground
//                    window for SECS seconds, then close it
//   minimize         minimise the program's window, as its taskbar button
//                    would
//   restore          restore the program's window and bring it to the
//                    foreground, the way a task switcher would
//   watch SECS       wait up to SECS seconds for runeplate.exe to start, print
//                    "watching", wait for it to end and print "exit code N"
//                    with its Windows exit code (Wine may kill the Unix side
//                    of a process that takes long to tear down, so the Unix
//                    exit status does not always carry it)
//   state            print whether the program's window exists, is minimised
//                    and is the foreground window
//
// Every command prints one line saying what it did and exits 0, or 1 when
// the program's window (or FILE) is not there. Run it in the same Wine prefix
// as the program.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* ProgramWindowClass = "__DX_RUNEPLATE__";
constexpr const char* ProgramFile = "runeplate.exe";
constexpr const char* SwitchWindowClass = "RuneplateE2eSwitch";

int Usage() {
  std::fprintf(stderr,
               "usage: runeplate-e2e-helper close | hold FILE SECONDS | switch SECONDS | minimize | restore | watch SECONDS | state\n");
  return 64;
}

HWND FindProgramWindow() {
  HWND window = FindWindowA(ProgramWindowClass, nullptr);
  if (!window) std::printf("no window of class %s\n", ProgramWindowClass);
  return window;
}

int Close() {
  HWND window = FindProgramWindow();
  if (!window) return 1;
  PostMessageA(window, WM_CLOSE, 0, 0);
  std::printf("posted WM_CLOSE\n");
  return 0;
}

int Hold(const char* path, int seconds) {
  HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    std::printf("cannot open %s: error %lu\n", path, GetLastError());
    return 1;
  }
  std::printf("held\n");
  std::fflush(stdout);
  Sleep(static_cast<DWORD>(seconds) * 1000);
  CloseHandle(file);
  return 0;
}

// Pumps this thread's messages for Ms milliseconds, so that the switch window
// paints and answers the system while it is in front.
void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(10);
  }
}

int Switch(int seconds) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = SwitchWindowClass;
  if (!RegisterClassA(&windowClass)) return 1;
  HWND window = CreateWindowExA(0, SwitchWindowClass, "Runeplate e2e switch", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                100, 100, 300, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
  if (!window) return 1;
  SetForegroundWindow(window);
  PumpFor(500);
  std::printf("switched: foreground is %s\n", GetForegroundWindow() == window ? "the switch window" : "another window");
  std::fflush(stdout);
  PumpFor(static_cast<DWORD>(seconds) * 1000);
  DestroyWindow(window);
  return 0;
}

int Minimize() {
  HWND window = FindProgramWindow();
  if (!window) return 1;
  ShowWindow(window, SW_MINIMIZE);
  std::printf("minimised: %d\n", IsIconic(window) ? 1 : 0);
  return 0;
}

int Restore() {
  HWND window = FindProgramWindow();
  if (!window) return 1;
  ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
  std::printf("restored: minimised %d, foreground %d\n", IsIconic(window) ? 1 : 0,
              GetForegroundWindow() == window ? 1 : 0);
  return 0;
}

// The first running process whose file name is ProgramFile, opened to wait
// for it and read its exit code; null when there is none.
HANDLE OpenProgramProcess() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return nullptr;
  HANDLE process = nullptr;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more && !process; more = Process32Next(snapshot, &entry)) {
    if (lstrcmpiA(entry.szExeFile, ProgramFile) == 0)
      process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
  }
  CloseHandle(snapshot);
  return process;
}

int Watch(int seconds) {
  const DWORD start = GetTickCount();
  HANDLE process;
  while (!(process = OpenProgramProcess())) {
    if (GetTickCount() - start >= static_cast<DWORD>(seconds) * 1000) {
      std::printf("no %s running\n", ProgramFile);
      return 1;
    }
    Sleep(50);
  }
  std::printf("watching\n");
  std::fflush(stdout);
  WaitForSingleObject(process, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  std::printf("exit code %lu\n", code);
  CloseHandle(process);
  return 0;
}

int State() {
  HWND window = FindProgramWindow();
  if (!window) return 1;
  std::printf("window: minimised %d, foreground %d\n", IsIconic(window) ? 1 : 0,
              GetForegroundWindow() == window ? 1 : 0);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const char* command = argv[1];
  int result;
  if (std::strcmp(command, "close") == 0 && argc == 2) {
    result = Close();
  } else if (std::strcmp(command, "hold") == 0 && argc == 4) {
    result = Hold(argv[2], std::atoi(argv[3]));
  } else if (std::strcmp(command, "switch") == 0 && argc == 3) {
    result = Switch(std::atoi(argv[2]));
  } else if (std::strcmp(command, "minimize") == 0 && argc == 2) {
    result = Minimize();
  } else if (std::strcmp(command, "restore") == 0 && argc == 2) {
    result = Restore();
  } else if (std::strcmp(command, "watch") == 0 && argc == 3) {
    result = Watch(std::atoi(argv[2]));
  } else if (std::strcmp(command, "state") == 0 && argc == 2) {
    result = State();
  } else {
    return Usage();
  }
  std::fflush(stdout);
  return result;
}
