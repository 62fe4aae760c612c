#pragma once
// Where the help viewer finds a page, as the handheld's help viewer does: a bare name
// ("file:KIVO.htm", "KIVO.htm") is a page in the Windows folder, where installers put
// the help pages of their programs; a device path ("file:\Temp\x.htm") is that file. A
// "#name" at the end is a place in the page.

#include <string>
#include <string_view>

class HelpPageName {
public:
    static constexpr std::u16string_view kHelpFolder = u"\\Windows";

    // Reads a command line or a link: an optional "file:" prefix, the page, an optional
    // "#anchor". Forward slashes are taken for backslashes (links are URLs).
    static HelpPageName Parse(std::u16string_view text);

    // The page's device path ("\Windows\KIVO.htm"); empty when no page was named.
    const std::u16string& path() const { return path_; }
    const std::u16string& anchor() const { return anchor_; }
    bool empty() const { return path_.empty(); }

private:
    std::u16string path_;
    std::u16string anchor_;
};
