#pragma once

#include <windows.h>

#include <string>

namespace brelomat::testing {

// HKCU\Software\KELVOR\Program in the test prefix, where FormCreate looks. Tests that use it
// hold the kelvor_program_key lock. Starts out removed and is removed again at the end.
class ProgramKeyInPrefix {
public:
    ProgramKeyInPrefix() { Remove(); }
    ~ProgramKeyInPrefix() { Remove(); }
    ProgramKeyInPrefix(const ProgramKeyInPrefix&) = delete;
    ProgramKeyInPrefix& operator=(const ProgramKeyInPrefix&) = delete;

    void Remove();
    void SetNavn(const std::wstring& text);
    // A value of a type the reader must refuse.
    void SetNavnAsNumber(DWORD number);
};

}  // namespace brelomat::testing
