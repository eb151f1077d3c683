/* Reset handler and vector table of the Cortex-M3 firmware: newlib's own
   rdimon start-up hangs on this board, and a dozen lines do what it should. */
#include <stdint.h>
#include <stdlib.h>

extern uint32_t DataStart, DataEnd, DataLoad, BssStart, BssEnd, StackTop;
extern void initialise_monitor_handles(void);
extern int main(void);

void ResetHandler(void) {
  const uint32_t* from = &DataLoad;
  for (uint32_t* to = &DataStart; to < &DataEnd;) *to++ = *from++;
  for (uint32_t* to = &BssStart; to < &BssEnd;) *to++ = 0;
  initialise_monitor_handles();
  exit(main());
}

/* The initial stack pointer, then the reset handler; nothing else is taken. */
__attribute__((section(".vectors"), used)) static void* const Vectors[] = {&StackTop, ResetHandler};
