#include "HandheldTool.h"

#include <filesystem>
#include <system_error>

#include "AlarmVerb.h"
#include "AttribVerb.h"
#include "AudioVerb.h"
#include "AutostartVerb.h"
#include "BashCompletion.h"
#include "CopyVerb.h"
#include "FollowedZone.h"
#include "HelpFormatter.h"
#include "HoldVerb.h"
#include "InitVerb.h"
#include "InstallVerb.h"
#include "IrVerb.h"
#include "KeyVerb.h"
#include "ListVerb.h"
#include "ManualPages.h"
#include "NotifyVerb.h"
#include "PlayVerb.h"
#include "PsVerb.h"
#include "RebuiltDatabase.h"
#include "RegistryVerb.h"
#include "RotateVerb.h"
#include "RunVerb.h"
#include "ScreenVerb.h"
#include "ScreenshotVerb.h"
#include "StartVerb.h"
#include "StatusVerb.h"
#include "StopVerb.h"
#include "TapVerb.h"
#include "TimeVerb.h"
#include "UiVerb.h"
#include "UninstallVerb.h"
#include "UsageError.h"
#include "ZoneVerb.h"
#include "host/Device.h"

namespace handheld {

HandheldTool::HandheldTool(const std::string& name)
    : tool_("Creates, drives and inspects a simulated handheld: a directory holding its file system,\n"
            "registry, clock and settings.",
            name) {
    tool_.formatter(std::make_shared<HelpFormatter>(name));
    tool_.set_help_flag("-h,--help", "this text; `handheld VERB --help` describes one verb");
    tool_.add_option("--device", device_,
                     // Written as a person reads it, never with this computer's home: the manual
                     // pages are made from this text on the machine that builds the package.
                     "the handheld's directory (else $KIVO_DEVICE, else $XDG_DATA_HOME/kivo/device,\n"
                     "else ~/.local/share/kivo/device)")
        ->type_name("DIR")
        ->check([](const std::string& directory) { return directory.empty() ? "needs a directory" : ""; });
    tool_.require_subcommand(1);
    tool_.footer(
        "exit status: 0 done, 1 the operation failed, 2 the command line was wrong\n"
        "\n"
        "example:\n"
        "  handheld --device /tmp/hh init && handheld --device /tmp/hh status");

    verbs_.push_back(std::make_unique<InitVerb>());
    verbs_.push_back(std::make_unique<StatusVerb>());
    verbs_.push_back(std::make_unique<RegistryVerb>());
    verbs_.push_back(std::make_unique<TimeVerb>());
    verbs_.push_back(std::make_unique<ZoneVerb>());
    verbs_.push_back(std::make_unique<ListVerb>());
    verbs_.push_back(std::make_unique<AttribVerb>());
    verbs_.push_back(std::make_unique<CopyVerb>());
    verbs_.push_back(std::make_unique<NotifyVerb>());
    verbs_.push_back(std::make_unique<IrVerb>());
    verbs_.push_back(std::make_unique<HoldVerb>());
    verbs_.push_back(std::make_unique<AudioVerb>());
    verbs_.push_back(std::make_unique<PlayVerb>());
    verbs_.push_back(std::make_unique<InstallVerb>());
    verbs_.push_back(std::make_unique<UninstallVerb>());
    verbs_.push_back(std::make_unique<RunVerb>());
    verbs_.push_back(std::make_unique<PsVerb>());
    verbs_.push_back(std::make_unique<StartVerb>());
    verbs_.push_back(std::make_unique<StopVerb>());
    verbs_.push_back(std::make_unique<AutostartVerb>());
    verbs_.push_back(std::make_unique<AlarmVerb>());
    verbs_.push_back(std::make_unique<ScreenVerb>());
    verbs_.push_back(std::make_unique<RotateVerb>());
    verbs_.push_back(std::make_unique<ScreenshotVerb>());
    verbs_.push_back(std::make_unique<UiVerb>());
    verbs_.push_back(std::make_unique<TapVerb>());
    verbs_.push_back(std::make_unique<KeyVerb>());
    for (const auto& verb : verbs_) verb->attach(tool_);

    tool_.set_version_flag("--version", std::string(KIVO_VERSION), "the version of KIVO this tool comes with");
    help_ = tool_.add_subcommand("help", "`handheld help VERB` is `handheld VERB --help`");
    help_->add_option("VERB", help_words_, "a verb, and an action of it");
    help_->add_option("--man-pages", manual_folder_, "write the manual pages of the tool and its verbs into DIR")
        ->type_name("DIR");
    help_->add_flag("--bash-completion", bash_completion_, "print the bash completion of the tool's verbs and options");
}

ExitCode HandheldTool::run(Console& console) {
    if (help_->parsed()) return print_help(console);
    for (const auto& verb : verbs_) {
        if (!verb->chosen()) continue;
        console.set_verb(command_path(reached_command(tool_)));
        if (!verb->opens_device()) return verb->run(console);
        if (const auto result = select_device(*verb, console); result != ExitCode::ok) return result;
        return verb->run(console);
    }
    return console.usage("needs a verb");
}

ExitCode HandheldTool::refuse(const CLI::ParseError& error, Console& console) {
    if (const auto* version = dynamic_cast<const CLI::CallForVersion*>(&error)) {
        console.out() << tool_.get_name() << ' ' << version->what() << '\n';
        return ExitCode::ok;
    }
    if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) {
        console.out() << tool_.help();
        return ExitCode::ok;
    }
    const UsageError usage = usage_error(tool_, error);
    console.set_verb(usage.command);
    return console.usage(usage.message);
}

ExitCode HandheldTool::print_help(Console& console) {
    if (bash_completion_) {
        console.out() << BashCompletion::script(tool_);
        return ExitCode::ok;
    }
    if (!manual_folder_.empty()) {
        std::string failure;
        return ManualPages(tool_, KIVO_VERSION).write(manual_folder_, &failure) ? ExitCode::ok : console.fail(failure);
    }
    const CLI::App* command = &tool_;
    std::string path = tool_.get_name();
    for (const auto& word : help_words_) {
        const CLI::App* next = nullptr;
        for (const CLI::App* candidate : command->get_subcommands({}))
            if (candidate->get_name() == word && candidate != help_) next = candidate;
        if (next == nullptr) return console.usage("unknown verb '" + word + "'");
        if (command != &tool_) path += " " + command->get_name();
        command = next;
    }
    console.out() << (command == &tool_ ? tool_.help() : command->help(path));
    return ExitCode::ok;
}

ExitCode HandheldTool::select_device(const Verb& verb, Console& console) {
    const std::filesystem::path directory =
        device_.empty() ? host::Device::default_root() : std::filesystem::path(device_);
    std::error_code error;
    if (!verb.creates_device() && !std::filesystem::is_directory(directory, error))
        return console.fail("no handheld at " + directory.string() + " (`handheld init` creates one)");
    host::Device::select(directory, host::Device::Opening::checked);
    const auto& device = host::Device::current();
    if (!device.refusal().empty()) return console.fail(device.refusal());
    if (!device.ready())
        return console.fail("cannot open the handheld at " + directory.string() + ": " + device.failure());
    RebuiltDatabase::follow_up(console);
    FollowedZone::follow_tz(console);
    return ExitCode::ok;
}

}  // namespace handheld
