#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brelomat::testing {

// One request as it arrived: the request line and the header lines, each with its CRLF,
// and the empty line that ends them.
struct LoopbackRequest {
    std::string Raw;

    std::string RequestLine() const;
    // The value of the first header of that name (compared without case), trimmed of blanks.
    std::optional<std::string> Header(std::string_view name) const;
};

// What the server sends for one request, byte for byte: Head as it stands, then Body, and
// then what After says. The helpers below build the usual shapes; anything else (a short
// body, a stall after the headers) is a matter of setting the fields by hand.
struct LoopbackReply {
    enum class End {
        KeepOpen,  // wait for the next request on the same connection
        Close,     // close the connection (a close-delimited or short body)
        Stall,     // send nothing more; keep the connection until the client leaves or
                   // StallLimit has passed, then close it
    };

    std::string Head;  // status line, header lines and the empty line, each ending in CRLF
    std::string Body;
    std::size_t PieceSize = 0;                // the body in pieces of this size; 0: at once
    std::chrono::milliseconds PieceDelay{0};  // pause before each piece: a slow server
    End After = End::KeepOpen;
    // Bounds a stall, so that a client that never gives up cannot hang a test for ever.
    std::chrono::milliseconds StallLimit{30'000};

    // 200 with a Content-Length. extraHeaders are whole lines, each ending in CRLF.
    static LoopbackReply Ok(std::string body, std::string_view extraHeaders = {});
    // Ok with the content of a file; throws std::runtime_error when it cannot be read.
    static LoopbackReply File(const std::filesystem::path& path);
    // Any status line ("HTTP/1.1 404 Not Found") with an empty body of Content-Length 0.
    static LoopbackReply Status(std::string_view statusLine, std::string_view extraHeaders = {});
    // 302 Found to location, with a small body.
    static LoopbackReply Redirect(std::string_view location);
    // 200 with Transfer-Encoding: chunked, one chunk per element, then the last chunk.
    static LoopbackReply Chunked(const std::vector<std::string>& chunks);
    // Accepts the request and never answers.
    static LoopbackReply Silent();
};

// An HTTP server on 127.0.0.1 for tests, running on threads of its own inside the test
// process. It records every request and answers with the replies it is given, in order;
// the last one answers every later request. Every wait inside it is bounded, and the
// destructor stops it, closing every connection, within a fraction of a second.
//
//   LoopbackServer server(LoopbackReply::Ok("body"));
//   client.Get(server.Url("/Downloads/Brelomat.exe"), stream);
//   server.Requests()[0].RequestLine();   // "GET /Downloads/Brelomat.exe HTTP/1.1"
class LoopbackServer {
public:
    // Listens on port, or on a free ephemeral port when it is 0; throws std::runtime_error
    // when it cannot.
    explicit LoopbackServer(LoopbackReply reply = LoopbackReply::Ok({}), std::uint16_t port = 0);
    ~LoopbackServer();

    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    std::uint16_t Port() const noexcept;
    // "127.0.0.1:port", as a client writes it into the Host header.
    std::string HostAndPort() const;
    // L"http://127.0.0.1:port" followed by path.
    std::wstring Url(std::string_view path) const;

    // Replaces the replies for the requests still to come.
    void Answer(std::vector<LoopbackReply> replies);
    void Answer(LoopbackReply reply);

    // Every request received so far, in the order of arrival.
    std::vector<LoopbackRequest> Requests() const;
    // Waits until at least count requests have arrived or limit has passed.
    bool WaitForRequests(std::size_t count, std::chrono::milliseconds limit) const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// A loopback port on which nothing listens (it was free a moment ago), for refused connections.
std::uint16_t UnusedLoopbackPort();

}  // namespace brelomat::testing
