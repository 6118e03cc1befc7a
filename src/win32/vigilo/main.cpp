// Placeholder entry point of the companion, so that both programs of the installation
// exist; the connection monitor replaces it.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return 0;
}
