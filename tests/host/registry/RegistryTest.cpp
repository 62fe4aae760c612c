#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "TempDevice.h"
#include "ce/Registry.h"

using namespace ce;

namespace {

class Registry : public testing_support::TempDevice {
protected:
    void TearDown() override {
        for (HKEY key : open_) RegCloseKey(key);
        TempDevice::TearDown();
    }

    HKEY create(const char16_t* path, DWORD* disposition = nullptr) {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path, &key, disposition), ERROR_SUCCESS);
        open_.push_back(key);
        return key;
    }

    std::vector<HKEY> open_;
};

LONG set_sz(HKEY key, const char16_t* name, const std::u16string& text) {
    return RegSetValueExW(key, name, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(char16_t)));
}

std::u16string query_sz(HKEY key, const char16_t* name) {
    char16_t buffer[260] = {};
    DWORD bytes = sizeof buffer;
    DWORD type = REG_NONE;
    if (RegQueryValueExW(key, name, &type, reinterpret_cast<BYTE*>(buffer), &bytes) != ERROR_SUCCESS ||
        type != REG_SZ)
        return u"<none>";
    return std::u16string(buffer, bytes / 2 - 1);
}

std::vector<std::u16string> subkeys(HKEY key) {
    std::vector<std::u16string> names;
    for (DWORD index = 0;; ++index) {
        char16_t name[256];
        DWORD chars = 256;
        if (RegEnumKeyExW(key, index, name, &chars) != ERROR_SUCCESS) return names;
        names.emplace_back(name, chars);
    }
}

TEST_F(Registry, CreateMakesEveryMissingLevelAndReportsWhetherItWasNew) {
    DWORD disposition = 0;
    create(u"Software\\KIVO\\Alarms", &disposition);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    create(u"software\\kivo\\ALARMS", &disposition);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);

    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"SOFTWARE\\Kivo", &key), ERROR_SUCCESS);
    open_.push_back(key);
    EXPECT_EQ(subkeys(key), std::vector<std::u16string>{u"Alarms"});
    HKEY missing = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\KIVO\\Missing", &missing), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(missing, nullptr);
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\KIVO", &missing), ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, NamesMatchIgnoringCaseBeyondAscii) {
    DWORD disposition = 0;
    HKEY key = create(u"\u00c4rger\u0394\u0416", &disposition);  // Ärger\Δ\Ж
    ASSERT_EQ(disposition, REG_CREATED_NEW_KEY);
    create(u"\u00e4RGER\u03b4\u0436", &disposition);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    ASSERT_EQ(set_sz(key, u"\u00c9t\u00e9", u"summer"), ERROR_SUCCESS);
    EXPECT_EQ(query_sz(key, u"\u00e9T\u00c9"), u"summer");
}

TEST_F(Registry, SubkeysEnumerateInCreationOrderWithTheirSpelling) {
    HKEY parent = create(u"Order");
    for (const char16_t* name : {u"Zeta", u"alpha", u"Mid"}) {
        HKEY child = nullptr;
        ASSERT_EQ(RegCreateKeyExW(parent, name, &child), ERROR_SUCCESS);
        RegCloseKey(child);
    }
    EXPECT_EQ(subkeys(parent), (std::vector<std::u16string>{u"Zeta", u"alpha", u"Mid"}));

    char16_t name[4];
    DWORD chars = 4;  // "Zeta" needs 5 with its NUL
    EXPECT_EQ(RegEnumKeyExW(parent, 0, name, &chars), ERROR_MORE_DATA);
    chars = 4;
    EXPECT_EQ(RegEnumKeyExW(parent, 2, name, &chars), ERROR_SUCCESS);
    EXPECT_EQ(chars, 3u);
    EXPECT_EQ(RegEnumKeyExW(parent, 3, name, &chars), ERROR_NO_MORE_ITEMS);
}

TEST_F(Registry, ReadsAreBoundedByTheCallersByteCount) {
    HKEY key = create(u"Bounded");
    ASSERT_EQ(set_sz(key, u"Sound", u"Hello"), ERROR_SUCCESS);  // 12 bytes with the NUL

    DWORD type = REG_NONE;
    DWORD bytes = 0;
    EXPECT_EQ(RegQueryValueExW(key, u"sound", &type, nullptr, &bytes), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(bytes, 12u);

    BYTE buffer[520];
    std::memset(buffer, 0xCC, sizeof buffer);
    bytes = 11;
    EXPECT_EQ(RegQueryValueExW(key, u"Sound", &type, buffer, &bytes), ERROR_MORE_DATA);
    EXPECT_EQ(bytes, 12u);
    EXPECT_EQ(buffer[0], 0xCC) << "nothing is copied when the value does not fit";

    for (DWORD room : {12u, 520u}) {
        bytes = room;
        EXPECT_EQ(RegQueryValueExW(key, u"Sound", &type, buffer, &bytes), ERROR_SUCCESS);
        EXPECT_EQ(bytes, 12u);
        EXPECT_EQ(std::memcmp(buffer, u"Hello", 12), 0);
    }
    bytes = sizeof buffer;
    EXPECT_EQ(RegQueryValueExW(key, u"Volume", &type, buffer, &bytes), ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, ValuesKeepTheirTypeAndBytes) {
    HKEY key = create(u"Typed");
    const DWORD volume = 0x01020304;
    const BYTE blob[] = {0, 1, 0xFF, 7};
    ASSERT_EQ(RegSetValueExW(key, u"Volume", REG_DWORD, reinterpret_cast<const BYTE*>(&volume), 4), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, u"Blob", REG_BINARY, blob, sizeof blob), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(key, u"Short", REG_DWORD, blob, 3), ERROR_INVALID_PARAMETER);

    struct Case {
        const char16_t* name;
        DWORD type;
        std::vector<BYTE> bytes;
    };
    for (const Case& expected : {Case{u"VOLUME", REG_DWORD, {4, 3, 2, 1}}, Case{u"blob", REG_BINARY, {0, 1, 0xFF, 7}}}) {
        BYTE buffer[16];
        DWORD bytes = sizeof buffer;
        DWORD type = REG_NONE;
        ASSERT_EQ(RegQueryValueExW(key, expected.name, &type, buffer, &bytes), ERROR_SUCCESS);
        EXPECT_EQ(type, expected.type);
        EXPECT_EQ(std::vector<BYTE>(buffer, buffer + bytes), expected.bytes);
    }
    // Setting again replaces the type and data.
    ASSERT_EQ(set_sz(key, u"volume", u"loud"), ERROR_SUCCESS);
    EXPECT_EQ(query_sz(key, u"Volume"), u"loud");
}

TEST_F(Registry, NullAndEmptyNamesAreTheDefaultValue) {
    HKEY key = create(u"Default");
    ASSERT_EQ(set_sz(key, nullptr, u"unnamed"), ERROR_SUCCESS);
    EXPECT_EQ(query_sz(key, u""), u"unnamed");
    ASSERT_EQ(set_sz(key, u"", u"again"), ERROR_SUCCESS);
    EXPECT_EQ(query_sz(key, nullptr), u"again");
    EXPECT_EQ(RegDeleteValueW(key, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(query_sz(key, u""), u"<none>");
    EXPECT_EQ(RegDeleteValueW(key, u""), ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, DeletingAKeyRefusesSubkeysAndInvalidatesOpenHandles) {
    HKEY parent = create(u"Gone");
    HKEY child = create(u"Gone\\Child");
    ASSERT_EQ(set_sz(child, u"Name", u"x"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u"Gone"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKeyW(parent, u"child"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyW(parent, u"Child"), ERROR_FILE_NOT_FOUND);

    // A key made afterwards must not be reachable through the stale handle.
    create(u"Newer");
    DWORD bytes = 0;
    EXPECT_EQ(RegQueryValueExW(child, u"Name", nullptr, nullptr, &bytes), ERROR_BADKEY);
    EXPECT_EQ(set_sz(child, u"Name", u"y"), ERROR_BADKEY);
    EXPECT_EQ(subkeys(child).size(), 0u);
    HKEY grandchild = nullptr;
    EXPECT_EQ(RegCreateKeyExW(child, u"Below", &grandchild), ERROR_BADKEY);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u""), ERROR_ACCESS_DENIED) << "a root is never deleted";
}

TEST_F(Registry, BadHandlesAndPathsFailCleanly) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"Trail\\", &key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    DWORD bytes = 0;
    EXPECT_EQ(RegQueryValueExW(key, u"x", nullptr, nullptr, &bytes), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(reinterpret_cast<HKEY>(0x1234)), ERROR_INVALID_HANDLE);
    for (const char16_t* path : {u"a\\\\b", u"\\a"})
        EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path, &key), ERROR_INVALID_PARAMETER);
    const std::u16string too_long(256, u'k');
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, too_long.c_str(), &key), ERROR_INVALID_PARAMETER);
}

TEST_F(Registry, AnotherProcessSeesWritesAndDeletions) {
    testing_support::ChildProcess agent(testing_support::executable_dir() + "/kivo_registry_agent", {});
    ASSERT_TRUE(agent.started());
    ASSERT_TRUE(agent.send_line("set Software\\Shared Sound Chimes"));
    ASSERT_EQ(agent.read_line(), "ok");
    ASSERT_TRUE(agent.send_line("dword Software\\Shared - 42"));
    ASSERT_EQ(agent.read_line(), "ok");

    HKEY key = create(u"software\\shared");
    EXPECT_EQ(query_sz(key, u"Sound"), u"Chimes");
    DWORD number = 0;
    DWORD bytes = sizeof number;
    EXPECT_EQ(RegQueryValueExW(key, nullptr, nullptr, reinterpret_cast<BYTE*>(&number), &bytes), ERROR_SUCCESS);
    EXPECT_EQ(number, 42u);

    ASSERT_EQ(set_sz(key, u"Sound", u"Bells"), ERROR_SUCCESS);
    ASSERT_TRUE(agent.send_line("get Software\\Shared sound"));
    EXPECT_EQ(agent.read_line(), "sz Bells");

    ASSERT_TRUE(agent.send_line("delete Software\\Shared"));
    ASSERT_EQ(agent.read_line(), "ok");
    EXPECT_EQ(set_sz(key, u"Sound", u"Late"), ERROR_BADKEY);
}

}  // namespace
