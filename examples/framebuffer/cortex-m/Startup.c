/* Reset handler and vector table of the Cortex-M firmware (M3 and M0 boards):
   newlib's own rdimon start-up hangs on these boards, and a dozen lines do
   what it should. */
#include <stdint.h>
#include <stdlib.h>

extern uint32_t DataStart, DataEnd, DataLoad, BssStart, BssEnd, StackTop;
typedef void (*TInitFunction)(void);
extern const TInitFunction __preinit_array_start[], __preinit_array_end[];
extern const TInitFunction __init_array_start[], __init_array_end[];
extern void initialise_monitor_handles(void);
extern int main(void);

void ResetHandler(void) {
  const uint32_t* from = &DataLoad;
  for (uint32_t* to = &DataStart; to < &DataEnd;) *to++ = *from++;
  for (uint32_t* to = &BssStart; to < &BssEnd;) *to++ = 0;
  initialise_monitor_handles();
  /* The constructors of globals, which -nostartfiles leaves to us: without
     them such a global would keep its zeros and nothing would say so. */
  for (const TInitFunction* f = __preinit_array_start; f < __preinit_array_end; ++f) (*f)();
  for (const TInitFunction* f = __init_array_start; f < __init_array_end; ++f) (*f)();
  exit(main());
}

/* The initial stack pointer, then the reset handler; nothing else is taken. */
__attribute__((section(".vectors"), used)) static void* const Vectors[] = {&StackTop, ResetHandler};
