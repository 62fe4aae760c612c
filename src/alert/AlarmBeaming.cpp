#include "alert/AlarmBeaming.h"

#include "alarms/AlarmFolder.h"
#include "alarms/ComPortSetting.h"
#include "ce/Thread.h"
#include "irdriver/IrDriverInstance.h"
#include "irlib/card/database_registry.h"
#include "irlib/irvox/context.h"

void AlarmBeaming::Beam(const std::string& codebase) {
    const std::u16string port = ComPortSetting::Read();
    if (port.empty()) return;
    platform::card::database_registry::instance().set_codebase_folder(AlarmFolder::Path());
    // Without a driver for this processor the macro records why and sends nothing.
    if (CIrDrvr* driver = GetIrDriver(); driver != nullptr) driver->SetPortName(port.c_str());
    ce::Sleep(kSettleMs);
    {
        irvox::context macro;
        macro.select_codebase(codebase);
        macro.load_macro_record(kMacro);
        macro.run_macro(1, true);
    }
    ReleaseIrDriver();
}
