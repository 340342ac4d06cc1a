#include "app/brisa_app.h"

CBrisaApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int nCmdShow) {
    return theApp.Main(instance, nCmdShow);
}
