#include "InitVerb.h"

#include <filesystem>
#include <system_error>

#include "ActiveDrivers.h"
#include "CompletionWords.h"
#include "DeviceImage.h"
#include "ErrorText.h"
#include "HandheldPrivacy.h"
#include "ProcessorProfile.h"
#include "ToolFiles.h"
#include "ce/Files.h"
#include "ce/Text.h"
#include "host/Device.h"

namespace handheld {

namespace {

// The folders every Pocket PC has, and the one KIVO installs into.
constexpr const char16_t* kStandardFolders[] = {u"\\Windows", u"\\My Documents", u"\\Program Files",
                                                u"\\Program Files\\KIVO"};

// The handheld's own program KIVO starts, where its ROM holds it.
constexpr const char16_t* kHelpViewerPath = u"\\Windows\\peghelp.exe";

}  // namespace

void InitVerb::declare(CLI::App& command) {
    describe(
        "Creates the handheld directory if needed, stores its processor profile, lists the\n"
        "profile's serial ports under HKLM\\Drivers\\Active and makes the standard folders\n"
        "\\Windows, \\My Documents, \\Program Files and \\Program Files\\KIVO. Puts the handheld's\n"
        "own help viewer at \\Windows\\peghelp.exe (refreshed every time, as a new ROM would).\n"
        "Running it again changes nothing else that is already stored.");
    auto* profile = command.add_option("--profile", profile_,
                       "processor family: " + processor_profile_list() +
                           "\n(default " + std::string(kDefaultProfile) + ", or the one already stored)")
        ->type_name("NAME")
        ->transform(CLI::Validator(
            [](std::string& name) -> std::string {
                const auto found = find_processor_profile(name);
                if (!found)
                    return "unknown processor profile '" + name + "'; the profiles are " + processor_profile_list();
                name = *found;
                return {};
            },
            "", "profile"));
    std::string profiles = processor_profile_list();
    std::erase(profiles, ',');
    CompletionWords::offer(profile, profiles);
    command.footer("example:\n  handheld --device /tmp/hh init --profile omap850");
}

ExitCode InitVerb::run(Console& console) {
    console.out() << "handheld at " << host::Device::current().root().string() << '\n';
    HandheldPrivacy::tighten(console);
    if (const auto result = store_profile(profile_, console); result != ExitCode::ok) return result;
    if (const auto result = create_folders(console); result != ExitCode::ok) return result;
    return place_platform_programs(console);
}

ExitCode InitVerb::store_profile(const std::optional<std::string>& requested, Console& console) {
    auto& database = host::Device::current().database();
    const auto stored = database.setting(kProfileSetting);
    const std::string wanted = requested.value_or(stored.value_or(std::string(kDefaultProfile)));
    if (stored == wanted) {
        console.out() << "profile " << wanted << " (kept)\n";
    } else {
        if (!database.set_setting(kProfileSetting, wanted)) return console.fail("cannot store the processor profile");
        console.out() << "profile " << wanted << (stored ? " (was " + *stored + ")" : std::string(" (stored)")) << '\n';
    }
    // The serial drivers are rewritten every time, so a handheld made before they were
    // listed gets them too.
    if (const ce::LONG error = ActiveDrivers::write(sim::profile_or_default(wanted)); error != ce::ERROR_SUCCESS)
        return console.fail("cannot list the serial drivers in the registry: " + error_text(static_cast<ce::DWORD>(error)));
    return ExitCode::ok;
}

ExitCode InitVerb::create_folders(Console& console) {
    for (const auto* folder : kStandardFolders) {
        const std::string shown = ce::utf8_from_utf16(folder);
        const ce::DWORD attributes = ce::GetFileAttributesW(folder);
        if (attributes != ce::INVALID_FILE_ATTRIBUTES && (attributes & ce::FILE_ATTRIBUTE_DIRECTORY) != 0) {
            console.out() << "kept " << shown << '\n';
            continue;
        }
        if (!ce::CreateDirectoryW(folder))
            return console.fail("cannot create " + shown + ": " + error_text(ce::GetLastError()));
        console.out() << "created " << shown << '\n';
    }
    return ExitCode::ok;
}

ExitCode InitVerb::place_platform_programs(Console& console) {
    const std::filesystem::path viewer = ToolFiles::of_this_tool().help_viewer;
    std::error_code error;
    if (!std::filesystem::is_regular_file(viewer, error)) {
        console.out() << "not built yet: " << viewer.string() << '\n';
        return ExitCode::ok;
    }
    if (!DeviceImage(console).put(viewer, kHelpViewerPath, DeviceImage::Kind::program)) return ExitCode::failed;
    console.out() << "placed " << ce::utf8_from_utf16(kHelpViewerPath) << '\n';
    return ExitCode::ok;
}

}  // namespace handheld
