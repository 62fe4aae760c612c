#include "HandheldTool.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "AttribVerb.h"
#include "AudioVerb.h"
#include "HoldVerb.h"
#include "InitVerb.h"
#include "IrVerb.h"
#include "ListVerb.h"
#include "NotifyVerb.h"
#include "PlayVerb.h"
#include "RegistryVerb.h"
#include "StatusVerb.h"
#include "TimeVerb.h"
#include "ZoneVerb.h"
#include "host/Device.h"

namespace handheld {

namespace {

// "--help" before any "--" asks for the verb's help, wherever it stands.
bool asks_for_help(const std::vector<std::string>& arguments) {
    for (const auto& word : arguments) {
        if (word == "--") return false;
        if (word == "--help") return true;
    }
    return false;
}

}  // namespace

HandheldTool::HandheldTool(Console& console) : console_(console) {
    verbs_.push_back(std::make_unique<InitVerb>());
    verbs_.push_back(std::make_unique<StatusVerb>());
    verbs_.push_back(std::make_unique<RegistryVerb>());
    verbs_.push_back(std::make_unique<TimeVerb>());
    verbs_.push_back(std::make_unique<ZoneVerb>());
    verbs_.push_back(std::make_unique<ListVerb>());
    verbs_.push_back(std::make_unique<AttribVerb>());
    verbs_.push_back(std::make_unique<NotifyVerb>());
    verbs_.push_back(std::make_unique<IrVerb>());
    verbs_.push_back(std::make_unique<HoldVerb>());
    verbs_.push_back(std::make_unique<AudioVerb>());
    verbs_.push_back(std::make_unique<PlayVerb>());
}

Verb* HandheldTool::find(std::string_view name) const {
    const auto found =
        std::find_if(verbs_.begin(), verbs_.end(), [&](const auto& verb) { return verb->name() == name; });
    return found == verbs_.end() ? nullptr : found->get();
}

ExitCode HandheldTool::print_overview() {
    auto& out = console_.out();
    out << "usage: handheld [--device DIR] VERB [ARGUMENTS]\n"
           "\n"
           "Creates, drives and inspects a simulated handheld: a directory holding its file system,\n"
           "registry, clock and settings.\n"
           "\n"
           "  --device DIR  the handheld's directory (else $KIVO_DEVICE, else "
        << host::Device::default_root().string()
        << ")\n"
           "  --help        this text; `handheld VERB --help` describes one verb\n"
           "\n"
           "verbs:\n";
    for (const auto& verb : verbs_) {
        const std::string name(verb->name());
        out << "  " << name << std::string(8 - std::min<std::size_t>(name.size(), 7), ' ') << verb->summary() << '\n';
    }
    out << "  help    `handheld help VERB` is `handheld VERB --help`\n"
           "\n"
           "exit status: 0 done, 1 the operation failed, 2 the command line was wrong\n"
           "\n"
           "example:\n"
           "  handheld --device /tmp/hh init && handheld --device /tmp/hh status\n";
    return ExitCode::ok;
}

ExitCode HandheldTool::print_help(std::string_view name) {
    const Verb* verb = find(name);
    if (verb == nullptr) return console_.usage("unknown verb '" + std::string(name) + "'");
    console_.out() << verb->help();
    return ExitCode::ok;
}

ExitCode HandheldTool::run(const std::vector<std::string>& arguments) {
    std::optional<std::string> root;
    std::size_t next = 0;
    for (; next < arguments.size() && arguments[next].starts_with("-"); ++next) {
        const std::string& word = arguments[next];
        if (word == "--help" || word == "-h") return print_overview();
        if (word == "--device") {
            if (++next == arguments.size()) return console_.usage("--device needs a directory");
            root = arguments[next];
        } else if (word.starts_with("--device=")) {
            root = word.substr(9);
        } else {
            return console_.usage("unknown option " + word + " (options of a verb go after it)");
        }
        if (root->empty()) return console_.usage("--device needs a directory");
    }
    if (next == arguments.size()) return console_.usage("needs a verb");
    const std::string& name = arguments[next];
    const std::vector<std::string> rest(arguments.begin() + static_cast<std::ptrdiff_t>(next) + 1, arguments.end());
    if (name == "help") {
        if (rest.empty()) return print_overview();
        if (rest.size() > 1) return console_.usage("help takes one verb");
        return print_help(rest[0]);
    }
    Verb* verb = find(name);
    if (verb == nullptr) return console_.usage("unknown verb '" + name + "'");
    return run_verb(*verb, rest, root);
}

ExitCode HandheldTool::run_verb(Verb& verb, const std::vector<std::string>& arguments,
                                const std::optional<std::string>& root) {
    console_.set_verb(verb.name());
    if (asks_for_help(arguments)) {
        console_.out() << verb.help();
        return ExitCode::ok;
    }
    if (const auto result = select_device(verb, root); result != ExitCode::ok) return result;
    return verb.run(arguments, console_);
}

ExitCode HandheldTool::select_device(const Verb& verb, const std::optional<std::string>& root) {
    const std::filesystem::path directory = root ? std::filesystem::path(*root) : host::Device::default_root();
    std::error_code error;
    if (!verb.creates_device() && !std::filesystem::is_directory(directory, error))
        return console_.fail("no handheld at " + directory.string() + " (`handheld init` creates one)");
    host::Device::select(directory);
    if (!host::Device::current().ready()) return console_.fail("cannot open the handheld at " + directory.string());
    return ExitCode::ok;
}

}  // namespace handheld
