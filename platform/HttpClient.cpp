#include "HttpClient.h"

#include "MemoryStream.h"
#include "PlatformError.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <optional>
#include <vector>

namespace brelomat {

namespace {

// The most read at once. Only what has arrived is read, so this bounds the buffer, not the wait.
constexpr DWORD ReadPieceCap = 64 * 1024;

struct Target {
    std::wstring host;
    INTERNET_PORT port = INTERNET_DEFAULT_HTTP_PORT;
    std::wstring object;  // path and query, as the request line carries them
};

Target CrackUrl(const std::wstring& url)
{
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwSchemeLength = static_cast<DWORD>(-1);
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts))
        ThrowLastError(L"WinHttpCrackUrl " + url);
    // Plain HTTP only: nothing here sets up TLS, and an https address must not quietly
    // go out unencrypted.
    if (parts.nScheme != INTERNET_SCHEME_HTTP)
        throw PlatformError(L"Not an http:// address: " + url);
    Target target;
    target.host.assign(parts.lpszHostName, parts.dwHostNameLength);
    target.port = parts.nPort;
    target.object.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
    target.object.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (target.object.empty())
        target.object = L"/";
    return target;
}

void SetOption(HINTERNET handle, DWORD option, DWORD value, const wchar_t* name)
{
    if (!WinHttpSetOption(handle, option, &value, sizeof value))
        ThrowLastError(name);
}

DWORD TimeoutValue(std::chrono::milliseconds limit)
{
    // WinHTTP reads 0 as "no limit"; a limit must stay one.
    constexpr auto longest = static_cast<std::chrono::milliseconds::rep>(std::numeric_limits<LONG>::max());
    return static_cast<DWORD>(std::clamp<std::chrono::milliseconds::rep>(limit.count(), 1, longest));
}

std::optional<std::wstring> QueryHeader(HINTERNET request, DWORD query)
{
    DWORD size = 0;
    WinHttpQueryHeaders(request, query, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER,
                        &size, WINHTTP_NO_HEADER_INDEX);
    const DWORD error = GetLastError();
    if (error == ERROR_WINHTTP_HEADER_NOT_FOUND)
        return std::nullopt;
    if (error != ERROR_INSUFFICIENT_BUFFER)
        ThrowWin32Error(L"WinHttpQueryHeaders", error);
    std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (!WinHttpQueryHeaders(request, query, WINHTTP_HEADER_NAME_BY_INDEX, value.data(), &size,
                             WINHTTP_NO_HEADER_INDEX))
        ThrowLastError(L"WinHttpQueryHeaders");
    value.resize(size / sizeof(wchar_t));
    return value;
}

DWORD StatusCode(HINTERNET request)
{
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX))
        ThrowLastError(L"WinHttpQueryHeaders status");
    return status;
}

bool ContainsIgnoringCase(std::wstring text, std::wstring_view word)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](wchar_t c) { return c >= L'A' && c <= L'Z' ? wchar_t(c - L'A' + L'a') : c; });
    return text.find(word) != std::wstring::npos;
}

// The body length the answer declares; 0 when it declares none or comes in chunks (a
// chunk's own sizes say nothing about the whole). Parsed here rather than as a DWORD, so
// that a length beyond 4 GB is neither cut nor wrapped.
std::int64_t DeclaredLength(HINTERNET request)
{
    if (const auto coding = QueryHeader(request, WINHTTP_QUERY_TRANSFER_ENCODING);
        coding && ContainsIgnoringCase(*coding, L"chunked"))
        return 0;
    const auto text = QueryHeader(request, WINHTTP_QUERY_CONTENT_LENGTH);
    if (!text)
        return 0;
    std::int64_t length = 0;
    bool digits = false;
    for (const wchar_t c : *text) {
        if (c == L' ' || c == L'\t')
            continue;
        if (c < L'0' || c > L'9' || length > (std::numeric_limits<std::int64_t>::max() - 9) / 10)
            throw PlatformError(L"Invalid Content-Length: " + *text);
        length = length * 10 + (c - L'0');
        digits = true;
    }
    if (!digits)
        throw PlatformError(L"Invalid Content-Length: " + *text);
    return length;
}

}  // namespace

HttpClient::HttpClient(HttpLimits limits) : limits_(limits)
{
    session_.reset(WinHttpOpen(UserAgent.c_str(), WINHTTP_ACCESS_TYPE_NO_PROXY,
                               WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session_)
        ThrowLastError(L"WinHttpOpen");
}

void HttpClient::Get(const std::wstring& url, MemoryStream& body)
{
    const Target target = CrackUrl(url);

    const UniqueWinHttp connection(WinHttpConnect(session_.get(), target.host.c_str(), target.port, 0));
    if (!connection)
        ThrowLastError(L"WinHttpConnect " + target.host);

    const wchar_t* acceptTypes[] = {Accept.c_str(), nullptr};
    const UniqueWinHttp request(WinHttpOpenRequest(connection.get(), L"GET", target.object.c_str(),
                                                   nullptr, WINHTTP_NO_REFERER, acceptTypes, 0));
    if (!request)
        ThrowLastError(L"WinHttpOpenRequest " + url);
    Configure(request.get());

    if (!WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA,
                            0, 0, 0))
        ThrowLastError(L"WinHttpSendRequest " + url);
    if (!WinHttpReceiveResponse(request.get(), nullptr))
        ThrowLastError(L"WinHttpReceiveResponse " + url);

    const DWORD status = StatusCode(request.get());
    if (status < 200 || status > 299)
        throw PlatformError(L"HTTP status " + std::to_wstring(status) + L" for " + url);

    const std::int64_t declared = DeclaredLength(request.get());
    RaiseWorkBegin(WorkMode::Read, declared);
    body.Reserve(declared);

    std::vector<std::byte> piece;
    std::int64_t received = 0;
    for (;;) {
        // Only what has arrived: a read larger than that waits until its buffer is full,
        // and the window would hear nothing from a slow server until then.
        DWORD available = 0;
        if (!WinHttpQueryDataAvailable(request.get(), &available))
            ThrowLastError(L"WinHttpQueryDataAvailable " + url);
        if (available == 0)
            break;
        piece.resize(std::min(available, ReadPieceCap));
        DWORD read = 0;
        if (!WinHttpReadData(request.get(), piece.data(), static_cast<DWORD>(piece.size()), &read))
            ThrowLastError(L"WinHttpReadData " + url);
        if (read == 0)
            break;
        body.Write(std::span(piece).first(read));
        received += read;
        RaiseWork(WorkMode::Read, received);
    }

    // WinHTTP hands over a body cut short by the server as if it were whole.
    if (received < declared)
        throw PlatformError(L"Body ended after " + std::to_wstring(received) + L" of " +
                            std::to_wstring(declared) + L" bytes: " + url);
}

void HttpClient::Configure(HINTERNET request) const
{
    // A redirect is a final answer, and with it a failed download.
    SetOption(request, WINHTTP_OPTION_REDIRECT_POLICY, WINHTTP_OPTION_REDIRECT_POLICY_NEVER,
              L"WinHttpSetOption redirect policy");
    // No credentials of the user's go to any server.
    SetOption(request, WINHTTP_OPTION_AUTOLOGON_POLICY, WINHTTP_AUTOLOGON_SECURITY_LEVEL_HIGH,
              L"WinHttpSetOption autologon policy");
    SetOption(request, WINHTTP_OPTION_CONNECT_TIMEOUT, TimeoutValue(limits_.Connect),
              L"WinHttpSetOption connect timeout");
    // Without this one a server that accepts and never answers holds the request for ever;
    // WinHttpSetTimeouts does not shorten that wait under Wine.
    SetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, TimeoutValue(limits_.Response),
              L"WinHttpSetOption response timeout");
    SetOption(request, WINHTTP_OPTION_RECEIVE_TIMEOUT, TimeoutValue(limits_.Silence),
              L"WinHttpSetOption receive timeout");
    // The agent the session was opened with is only its default; the field may have changed.
    const std::wstring agent = L"User-Agent: " + UserAgent;
    if (!WinHttpAddRequestHeaders(request, agent.c_str(), static_cast<DWORD>(agent.size()),
                                  WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE))
        ThrowLastError(L"WinHttpAddRequestHeaders");
}

}  // namespace brelomat
