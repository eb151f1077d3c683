// runeplate_app_fault_child MODE: fails the way MODE names, under the same
// last-chance catch and handler as the program, so that a test can read the
// report it shows and the exit code it ends with.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>

#include "report/ErrorReport.h"
#include "errors/Exceptions.h"

using namespace runeplate;

namespace {

const char* Mode = "";

volatile int* volatile NullPointer = nullptr;
volatile int* volatile WildPointer = reinterpret_cast<volatile int*>(0x10);
volatile int Zero = 0;
// More than any heap hands out; kept where the compiler cannot drop the
// allocation.
volatile size_t HugeSize = static_cast<size_t>(1) << 50;
char* volatile HugeBlock = nullptr;

void RaiseFromNoexcept() noexcept { Raise(EInOutError(5)); }

// Recursion without end that the compiler cannot turn into a loop: each frame
// hands its own array to the next.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winfinite-recursion"
int Recurse(volatile char* previous) {
  volatile char frame[512];
  frame[0] = static_cast<char>(previous[0] + 1);
  return Recurse(frame) + frame[0];
}
#pragma GCC diagnostic pop

int32_t Fail() {
  if (std::strcmp(Mode, "read-null") == 0) return *NullPointer;
  if (std::strcmp(Mode, "write-address") == 0) {
    *WildPointer = 1;
    return 0;
  }
  if (std::strcmp(Mode, "divide-by-zero") == 0) return 100 / Zero;
  if (std::strcmp(Mode, "raise-external") == 0) RaiseException(0xE0001234, 0, 0, nullptr);
  if (std::strcmp(Mode, "in-out-error") == 0) Raise(EInOutError(131));
  if (std::strcmp(Mode, "assertion") == 0) RUNEPLATE_ASSERT(Zero == 1);
  if (std::strcmp(Mode, "standard-exception") == 0) throw std::out_of_range("index 7");
  if (std::strcmp(Mode, "out-of-memory") == 0) {
    HugeBlock = new char[HugeSize];
    return 0;
  }
  if (std::strcmp(Mode, "noexcept-escape") == 0) RaiseFromNoexcept();
  if (std::strcmp(Mode, "stack-overflow") == 0) {
    volatile char first[1] = {0};
    return Recurse(first);
  }
  if (std::strcmp(Mode, "exit-7") == 0) return 7;
  return 64;
}

}  // namespace

int main(int argc, char** argv) {
  ArmLastChanceHandler();
  if (argc > 1) Mode = argv[1];
  EndProgram(RunGuarded(Fail));
}
