#include "alert/AlarmBeaming.h"

#include "alarms/AlarmFolder.h"
#include "alarms/ComPortSetting.h"
#include "irdriver/IrDriverInstance.h"
#include "irlib/card/database_registry.h"
#include "irlib/irvox/context.h"

void AlarmBeaming::Beam(const std::string& codebase, std::stop_token stop) {
    const std::u16string port = ComPortSetting::Read();
    if (port.empty()) return;
    platform::card::database_registry::instance().set_codebase_folder(AlarmFolder::Path());
    // Without a driver for this processor the macro records why and sends nothing.
    if (CIrDrvr* driver = GetIrDriver(); driver != nullptr) driver->SetPortName(port.c_str());
    {
        irvox::context macro;
        macro.set_stop_token(std::move(stop));
        macro.pause(kSettleMs);
        macro.select_codebase(codebase);
        macro.load_macro_record(kMacro);
        if (!macro.stop_requested()) macro.run_macro(1, true);
    }
    ReleaseIrDriver();
}
