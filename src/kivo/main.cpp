// KIVO: the alarm list of the handheld. One copy runs at a time; a second start brings
// the running one forward.

#include "framework/SingleInstance.h"
#include "kivo/CTessaAlarmApp.h"

int main(int argc, char** argv) {
    if (!framework::ApplySingleInstanceRule()) return 0;
    CTessaAlarmApp app;
    return app.WinMain(argc, argv);
}
