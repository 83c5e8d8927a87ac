// The program's three settings stores kept below a company key of the tests' own,
// and the registry helpers the store tests read and write that key with.
#pragma once

#include "app/Option.h"
#include "app/Setup.h"
#include "app/Usage.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace app_test {

constexpr const char* kTestCompany = "SorvantaAppTest";
// HKEY_CURRENT_USER\<this> holds everything the stores write in these tests.
constexpr const char* kTestCompanyKey = "Software\\SorvantaAppTest";
constexpr const char* kTestApplicationKey = "Software\\SorvantaAppTest\\SorvantaStd";

class TestOption : public Option {
public:
    TestOption() : Option(HKEY_CURRENT_USER, "Software", kTestCompany, "SorvantaStd", "Option") {}
};

class TestSetup : public Setup {
public:
    TestSetup() : Setup(HKEY_CURRENT_USER, "Software", kTestCompany, "SorvantaStd", "Setup") {}
};

class TestUsage : public UsageEx {
public:
    TestUsage() : UsageEx(HKEY_CURRENT_USER, "Software", kTestCompany, "SorvantaStd", "Usage") {}
};

struct StoredValue {
    bool exists = false;
    DWORD type = REG_NONE;
    std::vector<unsigned char> bytes;

    std::string Text() const
    {
        return exists && !bytes.empty() ? std::string(reinterpret_cast<const char*>(bytes.data())) : "";
    }
    DWORD Dword() const
    {
        DWORD value = 0;
        if (bytes.size() == sizeof value)
            memcpy(&value, bytes.data(), sizeof value);
        return value;
    }
};

// keyPath is below the test application key ("Option\\Common").
inline StoredValue ReadValue(const std::string& keyPath, const char* name)
{
    StoredValue value;
    HKEY key = nullptr;
    std::string path = std::string(kTestApplicationKey) + "\\" + keyPath;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.bytes.resize(size);
        value.exists =
            RegQueryValueExA(key, name, nullptr, &value.type, value.bytes.data(), &size) == ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return value;
}

inline bool WriteValue(const std::string& keyPath, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    std::string path = std::string(kTestApplicationKey) + "\\" + keyPath;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    bool isWritten = RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return isWritten;
}

inline bool WriteDword(const std::string& keyPath, const char* name, DWORD value)
{
    return WriteValue(keyPath, name, REG_DWORD, &value, sizeof value);
}

inline void DeleteValue(const std::string& keyPath, const char* name)
{
    HKEY key = nullptr;
    std::string path = std::string(kTestApplicationKey) + "\\" + keyPath;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, name);
    RegCloseKey(key);
}

inline void DeleteTestKeys()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, kTestCompanyKey);
}

} // namespace app_test
