#include <string>

#include <gtest/gtest.h>

#include "irlib/utils/ascii_converter.h"
#include "irlib/utils/unicode_converter.h"

namespace {

TEST(TextConverters, AsciiConverterUsesTheAnsiCodePage) {
    const utils::ascii_converter converted(u"Caf\u00E9 \u20AC");
    EXPECT_EQ(std::string(converted.c_str()), "Caf\xE9 \x80");
    EXPECT_EQ(converted.size(), 6U);
}

TEST(TextConverters, AsciiConverterMarksCharactersTheCodePageLacks) {
    const utils::ascii_converter converted(u"a\u4E2Db");
    EXPECT_EQ(std::string(converted.c_str()), "a?b");
}

TEST(TextConverters, UnicodeConverterUsesTheAnsiCodePage) {
    const utils::unicode_converter converted("TV \x80\xE9");
    EXPECT_EQ(converted.str(), u"TV \u20AC\u00E9");
    EXPECT_EQ(converted.c_str()[converted.size()], u'\0');
}

TEST(TextConverters, NullAndEmptyConvertToEmptyStrings) {
    EXPECT_STREQ(utils::ascii_converter(static_cast<const char16_t*>(nullptr)).c_str(), "");
    EXPECT_EQ(utils::unicode_converter(static_cast<const char*>(nullptr)).size(), 0U);
    EXPECT_EQ(utils::unicode_converter("").c_str()[0], u'\0');
}

}  // namespace
