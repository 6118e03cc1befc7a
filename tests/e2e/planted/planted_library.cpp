// Stands in for the network and sound DLLs where a careless load would find them. It exports
// nothing, so a program that took it finds none of the functions it wanted.
#include "planted_mark.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        LeaveMark(self);
    }
    return TRUE;
}
