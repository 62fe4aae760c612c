// Alert: performs an alarm on the handheld (started by kivowake).

#include "alert/CAlertApp.h"
#include "framework/SingleInstance.h"

int main(int argc, char** argv) {
    if (!framework::ApplySingleInstanceRule()) return 0;
    Q_INIT_RESOURCE(alert);
    CAlertApp app;
    return app.WinMain(argc, argv);
}
