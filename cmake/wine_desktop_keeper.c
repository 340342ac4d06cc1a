/* Keeps the Wine desktop in use between test programs; cmake/wine-env.sh starts it.
 * Wine closes the desktop a second after its last program ends, and the next program that makes
 * a window starts the desktop process again, which inherits that program's output: ctest then
 * waits a second after each test, or for ever if a later program keeps the desktop alive.
 * Creates the file named on its command line once it holds the desktop. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR pszCmdLine, int nCmdShow) {
    (void)hPrevInstance;
    (void)nCmdShow;
    /* A hidden window: it never shows on the display, but makes this program a desktop user. */
    if (!CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, NULL, NULL, hInstance, NULL))
        return 1;
    if (*pszCmdLine)
        CloseHandle(CreateFileA(pszCmdLine, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, NULL));
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
