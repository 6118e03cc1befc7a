// Stands in for rundll32.exe and regedit.exe where a careless start would find them.
#include "planted_mark.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    LeaveMark(nullptr);
    return 0;
}
