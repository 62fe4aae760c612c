#include "ManualPages.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <system_error>

#include "HelpFormatter.h"
#include "ToolName.h"

namespace handheld {

namespace {

std::vector<const CLI::App*> verbs_of(const CLI::App& command) {
    return command.get_subcommands([](const CLI::App* verb) { return !verb->get_name().empty(); });
}

// A line as roff shows it literally: backslashes and minus signs escaped, and a line
// that would read as a request ('.' or '\'' first) protected.
std::string literal(std::string_view line) {
    std::string escaped;
    if (!line.empty() && (line.front() == '.' || line.front() == '\'')) escaped = "\\&";
    for (const char character : line) {
        if (character == '\\') escaped += "\\e";
        else if (character == '-') escaped += "\\-";
        else escaped += character;
    }
    return escaped;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

// "Options:" or "example:": a heading of the help, not indented.
bool is_heading(const std::string& line) {
    return !line.empty() && line.front() != ' ' && line.back() == ':' && line.find(' ') == std::string::npos;
}

std::string upper(std::string text) {
    for (char& character : text)
        if (character >= 'a' && character <= 'z') character = static_cast<char>(character - 'a' + 'A');
    return text;
}

// Paragraphs of prose filled by the reader's terminal; indented lines kept as written.
std::string paragraphs(const std::string& text) {
    std::string roff;
    bool preformatted = false;
    bool new_paragraph = true;
    for (const std::string& line : lines_of(text)) {
        if (line.empty()) {
            if (preformatted) roff += ".fi\n";
            preformatted = false;
            new_paragraph = true;
            continue;
        }
        const bool indented = line.front() == ' ';
        if (new_paragraph) roff += ".PP\n";
        if (indented && !preformatted) roff += ".nf\n";
        if (!indented && preformatted) roff += ".fi\n";
        preformatted = indented;
        new_paragraph = false;
        roff += literal(line) + '\n';
    }
    return preformatted ? roff + ".fi\n" : roff;
}

const HelpFormatter& formatter_of(const CLI::App& command) {
    return dynamic_cast<const HelpFormatter&>(*command.get_formatter());
}

}  // namespace

ManualPages::ManualPages(const CLI::App& tool, std::string version) : tool_(tool), version_(std::move(version)) {}

std::string ManualPages::page_name(const CLI::App& command) const {
    return &command == &tool_ ? tool_.get_name() : tool_.get_name() + "-" + command.get_name();
}

std::string ManualPages::help_part(std::string text) const { return as_called(text, tool_.get_name()); }

std::string ManualPages::sections(const CLI::App& command, const char* heading_macro) const {
    const HelpFormatter& formatter = formatter_of(command);
    std::string help = formatter.make_positionals(&command) + formatter.make_groups(&command, CLI::AppFormatMode::Normal) +
                       formatter.make_subcommands(&command, CLI::AppFormatMode::Normal);
    const CLI::App* parent = command.get_parent();
    if (!command.get_footer().empty() && (parent == nullptr || parent->get_footer() != command.get_footer()))
        help += "\n" + command.get_footer() + "\n";
    std::string roff;
    bool open = false;
    for (const std::string& line : lines_of(help_part(help))) {
        if (is_heading(line)) {
            if (open) roff += ".fi\n";
            roff += std::string(heading_macro) + " " + upper(line.substr(0, line.size() - 1)) + "\n.nf\n";
            open = true;
        } else if (open) {
            roff += literal(line) + '\n';
        }
    }
    return open ? roff + ".fi\n" : roff;
}

std::string ManualPages::page(const CLI::App& command) const {
    const HelpFormatter& formatter = formatter_of(command);
    const std::string name = page_name(command);
    const std::string path = &command == &tool_ ? tool_.get_name() : tool_.get_name() + " " + command.get_name();
    // The first paragraph, whole: its lines end where the terminal's help breaks them.
    const std::string& description = command.get_description();
    std::string summary = description.substr(0, description.find("\n\n"));
    std::replace(summary.begin(), summary.end(), '\n', ' ');

    std::string roff = ".TH \"" + upper(name) + "\" \"1\" \"\" \"KIVO " + version_ + "\" \"User Commands\"\n";
    roff += ".SH NAME\n" + literal(name) + " \\- " + literal(summary) + "\n";
    roff += ".SH SYNOPSIS\n.nf\n";
    for (std::string line : lines_of(formatter.make_usage(&command, path))) {
        for (const std::string_view prefix : {"usage: ", "       "})
            if (line.starts_with(prefix)) line.erase(0, prefix.size());
        roff += literal(line) + '\n';
    }
    roff += ".fi\n.SH DESCRIPTION\n" + paragraphs(help_part(formatter.make_description(&command)));
    roff += sections(command, ".SH");
    for (const CLI::App* action : &command == &tool_ ? std::vector<const CLI::App*>{} : verbs_of(command)) {
        roff += ".SS \"" + literal(path + " " + action->get_name()) + "\"\n";
        roff += paragraphs(help_part(formatter_of(*action).make_description(action)));
        roff += sections(*action, ".PP\n.B");
    }
    roff += ".SH SEE ALSO\n";
    if (&command == &tool_) {
        std::string see_also;
        for (const CLI::App* verb : verbs_of(tool_))
            if (verb->get_name() != "help") see_also += (see_also.empty() ? "" : ",\n") + ("\\fB" + literal(page_name(*verb)) + "\\fR(1)");
        roff += see_also + "\n";
    } else {
        roff += "\\fB" + literal(tool_.get_name()) + "\\fR(1)\n";
    }
    return roff;
}

bool ManualPages::write(const std::filesystem::path& folder, std::string* failure) const {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    std::vector<const CLI::App*> commands{&tool_};
    for (const CLI::App* verb : verbs_of(tool_))
        if (verb->get_name() != "help") commands.push_back(verb);
    for (const CLI::App* command : commands) {
        const auto file = folder / (page_name(*command) + ".1");
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << page(*command);
        if (!out.flush()) {
            *failure = "cannot write " + file.string();
            return false;
        }
    }
    return true;
}

}  // namespace handheld
