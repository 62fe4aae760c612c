#pragma once
// The tool's manual pages, written from the same command definitions and help text as
// `--help` (so the two never differ): TOOL.1 for the tool, TOOL-VERB.1 for each verb
// with its actions, in the man macros, spelt with the name the tool was called by.

#include <CLI/CLI.hpp>

#include <filesystem>
#include <string>

namespace handheld {

class ManualPages {
public:
    ManualPages(const CLI::App& tool, std::string version);

    // Writes every page into `folder` (made if needed); false with *failure otherwise.
    bool write(const std::filesystem::path& folder, std::string* failure) const;
    // The page of `command`: the tool itself or one of its verbs.
    std::string page(const CLI::App& command) const;
    // "kivo-handheld" for the tool, "kivo-handheld-alarm" for its verb "alarm".
    std::string page_name(const CLI::App& command) const;

private:
    // The help of `command` after its usage and description, with headings made sections.
    std::string sections(const CLI::App& command, const char* heading_macro) const;
    std::string help_part(std::string text) const;

    const CLI::App& tool_;
    std::string version_;
};

}  // namespace handheld
