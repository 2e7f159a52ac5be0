#include "RunningProgram.h"

#include "TemporaryFolder.h"

#include <gtest/gtest.h>

namespace brelomat::testing {

namespace {

constexpr DWORD StartTimeoutMs = 20'000;
constexpr DWORD EndTimeoutMs = 10'000;

}  // namespace

std::wstring RunningProgram::StandInPath()
{
    return ExecutableFolder() + L"brelomat_stand_in.exe";
}

RunningProgram::RunningProgram(const std::wstring& path)
{
    if (!::CopyFileW(StandInPath().c_str(), path.c_str(), FALSE)) {
        ADD_FAILURE() << "cannot copy the stand-in to " << path << ", error " << ::GetLastError();
        return;
    }
    const std::wstring eventName = L"BrelomatStandInStarted-" + std::to_wstring(::GetCurrentProcessId());
    const UniqueKernelHandle started(::CreateEventW(nullptr, TRUE, FALSE, eventName.c_str()));
    if (!started) {
        ADD_FAILURE() << "CreateEventW error " << ::GetLastError();
        return;
    }

    std::wstring commandLine = L"\"" + path + L"\" " + eventName;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION information{};
    if (!::CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                          nullptr, nullptr, &startup, &information)) {
        ADD_FAILURE() << "cannot start " << path << ", error " << ::GetLastError();
        return;
    }
    process_.reset(information.hProcess);
    const UniqueKernelHandle thread(information.hThread);

    const HANDLE waits[] = {started.get(), process_.get()};
    const DWORD woken = ::WaitForMultipleObjects(2, waits, FALSE, StartTimeoutMs);
    started_ = woken == WAIT_OBJECT_0;
    if (!started_)
        ADD_FAILURE() << "the stand-in did not start (wait result " << woken << ")";
}

RunningProgram::~RunningProgram()
{
    if (!process_)
        return;
    ::TerminateProcess(process_.get(), 0);
    EXPECT_EQ(::WaitForSingleObject(process_.get(), EndTimeoutMs), WAIT_OBJECT_0) << "the stand-in did not end";
}

}  // namespace brelomat::testing
