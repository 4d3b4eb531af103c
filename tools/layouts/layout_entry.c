/* The code of every layout driver: the system asks the library for its
   tables and nothing else. The tables come from the generated source linked
   beside this one. */
#include "tools/layouts/layout_driver.h"

extern KBDTABLES layoutTables;

KBDTABLES *KbdLayerDescriptor(void)
{
    return &layoutTables;
}

/* The library has no run-time library to start: loading it must only
   succeed. The name is the one the linker takes for a library's entry. */
int __attribute__((stdcall)) DllMainCRTStartup(void *instance, uint32_t reason, void *reserved)
{
    (void)instance;
    (void)reason;
    (void)reserved;
    return 1;
}
