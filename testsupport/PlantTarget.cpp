// The program that planted valid commands start: it does nothing and ends at once,
// so that a Run entry started at log-on (or at a Wine prefix's boot) is harmless.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return 0;
}
