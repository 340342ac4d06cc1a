#include "app/brisa_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int nCmdShow) {
    CBrisaApp app;
    return app.Main(instance, nCmdShow);
}
