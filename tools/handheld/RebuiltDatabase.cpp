#include "RebuiltDatabase.h"

#include <system_error>

#include "ToolFiles.h"
#include "alarms/CAlarmScheduler.h"
#include "host/Device.h"
#include "host/DeviceLog.h"
#include "host/notify/ServiceFiles.h"
#include "host/notify/ServiceLink.h"

namespace handheld {

void RebuiltDatabase::follow_up(Console& console) {
    auto& device = host::Device::current();
    if (!device.rebuilt()) return;
    console.note(*device.rebuilt());
    host::DeviceLog(host::ServiceFiles::kLogName).write(*device.rebuilt());
    const host::ServiceLink link(device);
    // A service still running has the old file open and would never see the new one.
    const bool was_running = link.running().has_value();
    std::string failure;
    if (was_running && !link.stop(&failure)) console.note(failure);
    // The new settings name no service to start on demand: the one beside this tool.
    const auto service = ToolFiles::of_this_tool().notify_service;
    std::error_code error;
    if (std::filesystem::is_regular_file(service, error))
        device.database().set_setting(host::ServiceFiles::kProgramSetting, service.string());
    if (was_running && !link.start(service, &failure)) console.note(failure);
    CAlarmScheduler::Reschedule();
}

}  // namespace handheld
