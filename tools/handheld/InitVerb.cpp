#include "InitVerb.h"

#include "ActiveDrivers.h"
#include "ArgumentParser.h"
#include "ErrorText.h"
#include "ProcessorProfile.h"
#include "ce/Files.h"
#include "ce/Text.h"
#include "host/Device.h"

namespace handheld {

namespace {

// The folders every Pocket PC has, and the one KIVO installs into.
constexpr const char16_t* kStandardFolders[] = {u"\\Windows", u"\\My Documents", u"\\Program Files",
                                                u"\\Program Files\\KIVO"};

}  // namespace

std::string_view InitVerb::help() const {
    return "usage: handheld init [--profile NAME]\n"
           "\n"
           "Creates the handheld directory if needed, stores its processor profile, lists the\n"
           "profile's serial ports under HKLM\\Drivers\\Active and makes the standard folders\n"
           "\\Windows, \\My Documents, \\Program Files and \\Program Files\\KIVO.\n"
           "Running it again changes nothing that is already stored.\n"
           "\n"
           "  --profile NAME  processor family: sa1110, pxa250, pxa255, pxa26x, pxa270, s3c2410,\n"
           "                  s3c2440, omap1510, omap850 (default pxa270, or the one already stored)\n"
           "\n"
           "example:\n"
           "  handheld --device /tmp/hh init --profile omap850\n";
}

ExitCode InitVerb::run(const std::vector<std::string>& arguments, Console& console) {
    ArgumentParser parser;
    parser.option("--profile");
    if (!parser.parse(arguments)) return console.usage(parser.error());
    if (!parser.positionals().empty()) return console.usage("unexpected argument '" + parser.positionals()[0] + "'");
    std::optional<std::string> profile;
    if (const auto requested = parser.value("--profile")) {
        profile = find_processor_profile(*requested);
        if (!profile)
            return console.usage("unknown processor profile '" + *requested + "'; the profiles are " +
                                 processor_profile_list());
    }
    console.out() << "handheld at " << host::Device::current().root().string() << '\n';
    if (const auto result = store_profile(profile, console); result != ExitCode::ok) return result;
    return create_folders(console);
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

}  // namespace handheld
