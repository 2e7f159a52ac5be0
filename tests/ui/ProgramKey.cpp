#include "ProgramKey.h"

#include "Settings.h"

#include <gtest/gtest.h>

namespace brelomat::testing {

namespace {

const std::wstring Key(ProgramKey);
const std::wstring Value(ProgramValue);

void Set(DWORD type, const void* data, DWORD size)
{
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, Key.c_str(), Value.c_str(), type, data, size), ERROR_SUCCESS);
}

}  // namespace

void ProgramKeyInPrefix::Remove()
{
    const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, Key.c_str());
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND)
        RegDeleteKeyW(HKEY_CURRENT_USER, Key.c_str());
    else
        ADD_FAILURE() << "cannot remove the program key: " << status;
}

void ProgramKeyInPrefix::SetNavn(const std::wstring& text)
{
    Set(REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void ProgramKeyInPrefix::SetNavnAsNumber(DWORD number)
{
    Set(REG_DWORD, &number, sizeof number);
}

}  // namespace brelomat::testing
