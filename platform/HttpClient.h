#pragma once

#include "Handles.h"
#include "HttpGetter.h"

#include <chrono>
#include <string>

namespace brelomat {

// How long the client waits before it gives up. A stalled server must not hang the program
// for ever: the window could then not even be closed.
struct HttpLimits {
    std::chrono::milliseconds Connect{30'000};
    std::chrono::milliseconds Response{30'000};  // until the response headers have arrived
    std::chrono::milliseconds Silence{30'000};   // between two pieces of the body
};

// HTTP/1.1 GET over WinHTTP. One session for the client's life, so cookies that a server
// sets are sent again on later requests; no proxy, no credentials, redirects not followed.
class HttpClient final : public HttpGetter {
public:
    explicit HttpClient(HttpLimits limits = {});

    void Get(const std::wstring& url, MemoryStream& body) override;

    std::wstring Accept = L"text/html, */*";
    std::wstring UserAgent = L"Mozilla/3.0 (compatible; Indy Library)";

private:
    void Configure(HINTERNET request) const;

    HttpLimits limits_;
    UniqueWinHttp session_;
};

}  // namespace brelomat
