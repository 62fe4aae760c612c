// Times as the handheld's regional settings write them: the user's picture from the
// registry, the fields a flag leaves out (with their separators), and the buffer
// contract callers size their buffers by.

#include <gtest/gtest.h>

#include <string>

#include "TempDevice.h"
#include "ce/Locale.h"
#include "ce/Registry.h"

namespace {

struct FormatCase {
    const char* name;
    const char16_t* picture;  // null: the user's (factory) picture
    ce::DWORD flags;
    int hour, minute, second;
    const char16_t* expected;
};

void PrintTo(const FormatCase& value, std::ostream* out) { *out << value.name; }

class TimeFormat : public testing_support::TempDevice, public ::testing::WithParamInterface<FormatCase> {};

std::u16string format(const char16_t* picture, ce::DWORD flags, int hour, int minute, int second) {
    ce::SYSTEMTIME time;
    time.wHour = static_cast<ce::WORD>(hour);
    time.wMinute = static_cast<ce::WORD>(minute);
    time.wSecond = static_cast<ce::WORD>(second);
    char16_t text[40] = {};
    if (ce::GetTimeFormatW(ce::LOCALE_USER_DEFAULT, flags, &time, picture, text, 40) == 0) return u"<failed>";
    return text;
}

TEST_P(TimeFormat, WritesThePicturesFields) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(format(c.picture, c.flags, c.hour, c.minute, c.second), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, TimeFormat,
    ::testing::Values(FormatCase{"FactoryTwelveHour", nullptr, 0, 12, 30, 5, u"12:30:05 PM"},
                      FormatCase{"MidnightIsTwelveAm", u"h:mm:ss tt", 0, 0, 7, 9, u"12:07:09 AM"},
                      FormatCase{"NoSecondsTakesItsColon", u"h:mm:ss tt", ce::TIME_NOSECONDS, 14, 20, 10, u"2:20 PM"},
                      FormatCase{"HoursOnly", u"h:mm:ss tt", ce::TIME_NOMINUTESORSECONDS, 14, 20, 10, u"2 PM"},
                      FormatCase{"NoMarker", u"hh:mm tt", ce::TIME_NOTIMEMARKER, 9, 5, 0, u"09:05"},
                      FormatCase{"Forced24", u"h:mm tt", ce::TIME_FORCE24HOURFORMAT, 21, 5, 0, u"21:05"},
                      FormatCase{"TwentyFourPadded", u"HH:mm:ss", 0, 7, 5, 3, u"07:05:03"},
                      FormatCase{"OneLetterMarkerAndQuotedText", u"H'h'mm t", 0, 9, 5, 0, u"9h05 A"},
                      FormatCase{"QuoteInQuotes", u"HH'''o''clock'", ce::TIME_NOSECONDS, 17, 0, 0, u"17'o'clock"}),
    [](const auto& test) { return std::string(test.param.name); });

class UserTimeFormat : public testing_support::TempDevice {};

TEST_F(UserTimeFormat, TheUsersPictureComesFromTheRegistryAndTheBufferContractHolds) {
    ce::HKEY key = nullptr;
    ASSERT_EQ(ce::RegCreateKeyExW(ce::HKEY_CURRENT_USER, ce::kInternationalKey, &key), ce::ERROR_SUCCESS);
    const std::u16string picture = u"HH.mm";
    ASSERT_EQ(ce::RegSetValueExW(key, ce::kTimeFormatValue, ce::REG_SZ, reinterpret_cast<const ce::BYTE*>(picture.c_str()),
                                 static_cast<ce::DWORD>((picture.size() + 1) * 2)),
              ce::ERROR_SUCCESS);
    ce::RegCloseKey(key);
    EXPECT_EQ(format(nullptr, 0, 18, 45, 0), u"18.45");

    ce::SYSTEMTIME time;
    time.wHour = 18;
    EXPECT_EQ(ce::GetTimeFormatW(ce::LOCALE_USER_DEFAULT, 0, &time, nullptr, nullptr, 0), 6) << "the size with its NUL";
    char16_t small[5];
    EXPECT_EQ(ce::GetTimeFormatW(ce::LOCALE_USER_DEFAULT, 0, &time, nullptr, small, 5), 0);
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_INSUFFICIENT_BUFFER);
    time.wHour = 24;
    EXPECT_EQ(ce::GetTimeFormatW(ce::LOCALE_USER_DEFAULT, 0, &time, nullptr, small, 5), 0);
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_INVALID_PARAMETER);
}

}  // namespace
