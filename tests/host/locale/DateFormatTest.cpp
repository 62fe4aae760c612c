// Dates as the handheld's regional settings write them: the pictures' fields, the user's
// short date from the registry, and impossible dates refused.

#include <gtest/gtest.h>

#include <string>

#include "TempDevice.h"
#include "ce/Locale.h"
#include "ce/Registry.h"

namespace {

std::u16string date_text(const char16_t* picture, int year, int month, int day) {
    ce::SYSTEMTIME date;
    date.wYear = static_cast<ce::WORD>(year);
    date.wMonth = static_cast<ce::WORD>(month);
    date.wDay = static_cast<ce::WORD>(day);
    char16_t text[40] = {};
    if (ce::GetDateFormatW(ce::LOCALE_USER_DEFAULT, ce::DATE_SHORTDATE, &date, picture, text, 40) == 0) return u"<failed>";
    return text;
}

struct DateCase {
    const char* name;
    const char16_t* picture;  // null: the user's (factory) picture
    int year, month, day;
    const char16_t* expected;
};

void PrintTo(const DateCase& value, std::ostream* out) { *out << value.name; }

class DateFormat : public testing_support::TempDevice, public ::testing::WithParamInterface<DateCase> {};

TEST_P(DateFormat, WritesThePicturesFields) {
    const DateCase& c = GetParam();
    EXPECT_EQ(date_text(c.picture, c.year, c.month, c.day), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, DateFormat,
    ::testing::Values(DateCase{"FactoryMonthFirst", nullptr, 2026, 3, 7, u"3/7/26"},
                      DateCase{"PaddedDayFirst", u"dd.MM.yyyy", 2026, 3, 7, u"07.03.2026"},
                      DateCase{"TwoDigitYearOfAnotherCentury", u"yy-MM-dd", 2005, 11, 30, u"05-11-30"},
                      DateCase{"QuotedText", u"d 'of' M", 2026, 12, 9, u"9 of 12"},
                      DateCase{"MonthThirteenRefused", u"d/M/yy", 2026, 13, 1, u"<failed>"},
                      DateCase{"DayZeroRefused", u"d/M/yy", 2026, 1, 0, u"<failed>"}),
    [](const auto& test) { return std::string(test.param.name); });

class UserDateFormat : public testing_support::TempDevice {};

TEST_F(UserDateFormat, TheUsersShortDateComesFromTheRegistryAndTheBufferMustHoldIt) {
    ce::HKEY key = nullptr;
    ASSERT_EQ(ce::RegCreateKeyExW(ce::HKEY_CURRENT_USER, ce::kInternationalKey, &key), ce::ERROR_SUCCESS);
    const std::u16string picture = u"yyyy-MM-dd";
    ASSERT_EQ(ce::RegSetValueExW(key, ce::kShortDateValue, ce::REG_SZ, reinterpret_cast<const ce::BYTE*>(picture.c_str()),
                                 static_cast<ce::DWORD>((picture.size() + 1) * sizeof(char16_t))),
              ce::ERROR_SUCCESS);
    ce::RegCloseKey(key);
    EXPECT_EQ(date_text(nullptr, 2026, 12, 9), u"2026-12-09");

    ce::SYSTEMTIME date;
    date.wYear = 2026;
    date.wMonth = 12;
    date.wDay = 9;
    EXPECT_EQ(ce::GetDateFormatW(ce::LOCALE_USER_DEFAULT, 0, &date, nullptr, nullptr, 0), 11);
    char16_t small[10] = {};
    EXPECT_EQ(ce::GetDateFormatW(ce::LOCALE_USER_DEFAULT, 0, &date, nullptr, small, 10), 0);
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_INSUFFICIENT_BUFFER);
}

}  // namespace
