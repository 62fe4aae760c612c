#include "CHelpViewerApp.h"

int main(int argc, char** argv) {
    CHelpViewerApp app;
    return app.WinMain(argc, argv);
}
