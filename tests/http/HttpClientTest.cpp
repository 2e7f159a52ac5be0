#include "HttpClient.h"

#include "LoopbackServer.h"
#include "MemoryStream.h"
#include "PlatformError.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace brelomat {
namespace {

using namespace std::chrono_literals;
using testing::LoopbackReply;
using testing::LoopbackServer;

const std::string DownloadPath = "/Downloads/Brelomat.exe";

template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& test)
{
    return test.param.name;
}

std::string Text(const MemoryStream& stream)
{
    const auto bytes = stream.Data();
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// A client against a loopback server, with every work event it raises written down.
class HttpClientTest : public ::testing::Test {
protected:
    explicit HttpClientTest(HttpLimits limits = {}) : client(limits)
    {
        client.OnWorkBegin = [this](WorkMode mode, std::int64_t expected) {
            EXPECT_EQ(mode, WorkMode::Read);
            EXPECT_TRUE(counts.empty()) << "work before work-begin";
            begins.push_back(expected);
        };
        client.OnWork = [this](WorkMode mode, std::int64_t count) {
            EXPECT_EQ(mode, WorkMode::Read);
            counts.push_back(count);
        };
    }

    // Starts a fresh record of the work events for each request.
    std::string Get(const std::string& path = DownloadPath)
    {
        begins.clear();
        counts.clear();
        MemoryStream body;
        client.Get(server.Url(path), body);
        return Text(body);
    }

    // The running counts rise with every event and end at the body's size.
    void ExpectCountsRiseTo(std::int64_t size) const
    {
        if (size == 0) {
            EXPECT_TRUE(counts.empty());
            return;
        }
        ASSERT_FALSE(counts.empty());
        for (std::size_t i = 1; i < counts.size(); ++i)
            EXPECT_LT(counts[i - 1], counts[i]) << "at event " << i;
        EXPECT_EQ(counts.back(), size);
    }

    LoopbackServer server;
    HttpClient client;
    std::vector<std::int64_t> begins;
    std::vector<std::int64_t> counts;
};

TEST_F(HttpClientTest, SendsExactlyTheRequestOfTheOriginalClient)
{
    server.Answer(LoopbackReply::Ok("MZ"));
    Get();

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Raw, "GET /Downloads/Brelomat.exe HTTP/1.1\r\n"
                               "Accept: text/html, */*\r\n"
                               "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
                               "Host: " + server.HostAndPort() + "\r\n"
                               "Connection: Keep-Alive\r\n"
                               "\r\n");
}

TEST_F(HttpClientTest, SendsACookieBackOnTheNextRequest)
{
    server.Answer(LoopbackReply::Ok("MZ", "Set-Cookie: visit=4711; Path=/\r\n"));
    Get();
    Get();

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].Header("Cookie"), std::nullopt);
    EXPECT_EQ(requests[1].Header("Cookie"), "visit=4711");
}

// Answers that count as a download: the body whole, and work-begin with the length the
// answer declares, 0 when it declares none.
struct SuccessCase {
    const char* name;
    LoopbackReply reply;
    std::string body;
    std::int64_t declared;
};

void PrintTo(const SuccessCase& test, std::ostream* out)
{
    *out << test.name;
}

LoopbackReply CloseDelimited(std::string body)
{
    LoopbackReply reply;
    reply.Head = "HTTP/1.1 200 OK\r\n\r\n";
    reply.Body = std::move(body);
    reply.After = LoopbackReply::End::Close;
    return reply;
}

LoopbackReply ChunkedWithContentLength()
{
    // A chunked body says nothing about its whole length, whatever else the answer claims.
    auto reply = LoopbackReply::Chunked({"abc", "de"});
    reply.Head = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nContent-Length: 900\r\n\r\n";
    return reply;
}

LoopbackReply AnyStatus2xx()
{
    LoopbackReply reply = LoopbackReply::Ok("body");
    reply.Head = "HTTP/1.1 299 Whatever\r\nContent-Length: 4\r\n\r\n";
    return reply;
}

class HttpClientSuccessTest : public HttpClientTest, public ::testing::WithParamInterface<SuccessCase> {};

TEST_P(HttpClientSuccessTest, DeliversTheBodyWhole)
{
    const auto& test = GetParam();
    server.Answer(test.reply);

    EXPECT_EQ(Get(), test.body);
    EXPECT_EQ(begins, std::vector<std::int64_t>{test.declared});
    ExpectCountsRiseTo(static_cast<std::int64_t>(test.body.size()));
}

INSTANTIATE_TEST_SUITE_P(Answers, HttpClientSuccessTest, ::testing::Values(
    SuccessCase{"ContentLength", LoopbackReply::Ok(std::string("MZ\x90\0\x03", 5)), std::string("MZ\x90\0\x03", 5), 5},
    SuccessCase{"Chunked", LoopbackReply::Chunked({"abc", "defgh", "ij"}), "abcdefghij", 0},
    SuccessCase{"ChunkedDespiteContentLength", ChunkedWithContentLength(), "abcde", 0},
    SuccessCase{"CloseDelimited", CloseDelimited("until the end"), "until the end", 0},
    SuccessCase{"EmptyBody", LoopbackReply::Ok(""), "", 0},
    SuccessCase{"NoContent", LoopbackReply::Status("HTTP/1.1 204 No Content"), "", 0},
    SuccessCase{"Any2xx", AnyStatus2xx(), "body", 4}),
    CaseName<SuccessCase>);

// Answers that fail the download, each with a PlatformError.
struct FailureCase {
    const char* name;
    LoopbackReply reply;
    bool bodyRead;  // the failure shows only once the body has been read
};

void PrintTo(const FailureCase& test, std::ostream* out)
{
    *out << test.name;
}

LoopbackReply ShortBody()
{
    LoopbackReply reply;
    reply.Head = "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n";
    reply.Body = "MZ..";
    reply.After = LoopbackReply::End::Close;
    return reply;
}

LoopbackReply WithBody(LoopbackReply reply, std::string body)
{
    reply.Head.replace(reply.Head.find("Content-Length: 0"), 17, "Content-Length: " + std::to_string(body.size()));
    reply.Body = std::move(body);
    return reply;
}

class HttpClientFailureTest : public HttpClientTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(HttpClientFailureTest, Throws)
{
    const auto& test = GetParam();
    server.Answer(test.reply);

    EXPECT_THROW(Get(), PlatformError);
    // A redirect is final: nothing went to its Location.
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(begins.size(), test.bodyRead ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Answers, HttpClientFailureTest, ::testing::Values(
    FailureCase{"Found", LoopbackReply::Redirect("/Downloads/Elsewhere.exe"), false},
    FailureCase{"MovedPermanently", LoopbackReply::Status("HTTP/1.1 301 Moved Permanently", "Location: /x\r\n"), false},
    FailureCase{"SeeOther", LoopbackReply::Status("HTTP/1.1 303 See Other", "Location: /x\r\n"), false},
    FailureCase{"TemporaryRedirect", LoopbackReply::Status("HTTP/1.1 307 Temporary Redirect", "Location: /x\r\n"), false},
    FailureCase{"NotFound", WithBody(LoopbackReply::Status("HTTP/1.1 404 Not Found"), "<html>gone</html>"), false},
    FailureCase{"Unauthorized", LoopbackReply::Status("HTTP/1.1 401 Unauthorized", "WWW-Authenticate: Basic realm=\"x\"\r\n"), false},
    FailureCase{"ServerError", LoopbackReply::Status("HTTP/1.1 500 Internal Server Error"), false},
    FailureCase{"ShortBody", ShortBody(), true}),
    CaseName<FailureCase>);

TEST_F(HttpClientTest, PassesADeclaredLengthBeyond4GBWhole)
{
    LoopbackReply reply;
    reply.Head = "HTTP/1.1 200 OK\r\nContent-Length: 5000000000\r\n\r\n";
    reply.Body = "MZ";
    reply.After = LoopbackReply::End::Close;
    server.Answer(reply);

    EXPECT_THROW(Get(), PlatformError);  // and short, of course
    EXPECT_EQ(begins, std::vector<std::int64_t>{5'000'000'000});
}

TEST_F(HttpClientTest, FailsOnARefusedConnection)
{
    const auto url = L"http://127.0.0.1:" + std::to_wstring(testing::UnusedLoopbackPort()) + L"/Downloads/Brelomat.exe";
    MemoryStream body;
    EXPECT_THROW(client.Get(url, body), PlatformError);
    EXPECT_TRUE(begins.empty());
}

TEST_F(HttpClientTest, RejectsAnAddressItCannotFetch)
{
    for (const std::wstring url : {L"not an address", L"https://127.0.0.1/Downloads/Brelomat.exe",
                                   L"ftp://127.0.0.1/Downloads/Brelomat.exe"}) {
        SCOPED_TRACE(std::string(url.begin(), url.end()));
        MemoryStream body;
        EXPECT_THROW(client.Get(url, body), PlatformError);
    }
    EXPECT_TRUE(server.Requests().empty());
}

// The window follows a slow server piece by piece, not only once the whole body is in.
TEST_F(HttpClientTest, ReportsEachPieceOfASlowBodyAsItArrives)
{
    constexpr std::size_t pieces = 5;
    constexpr std::size_t pieceSize = 1000;
    auto reply = LoopbackReply::Ok(std::string(pieces * pieceSize, 'x'));
    reply.PieceSize = pieceSize;
    reply.PieceDelay = 40ms;
    server.Answer(reply);

    EXPECT_EQ(Get().size(), pieces * pieceSize);
    EXPECT_EQ(begins, std::vector<std::int64_t>{pieces * pieceSize});
    EXPECT_GE(counts.size(), pieces);
    ExpectCountsRiseTo(pieces * pieceSize);
}

TEST_F(HttpClientTest, DeliversABodyOfSomeMegabytesIntact)
{
    std::string body(5 * 1024 * 1024 + 17, '\0');
    std::mt19937 random(4711);
    for (auto& c : body)
        c = static_cast<char>(random());
    server.Answer(LoopbackReply::Ok(body));

    EXPECT_TRUE(Get() == body);  // not EXPECT_EQ: its message would print megabytes
    EXPECT_EQ(begins, std::vector<std::int64_t>{static_cast<std::int64_t>(body.size())});
    ExpectCountsRiseTo(static_cast<std::int64_t>(body.size()));
}

// The work handlers are the window's code; what they throw (a close, a failure of their
// own) must reach the caller as it was thrown.
TEST_F(HttpClientTest, LetsWhatAWorkHandlerThrowsPassUnchanged)
{
    struct HandlerError {};
    const std::vector<std::pair<const char*, std::function<void()>>> handlers = {
        {"work-begin", [this] { client.OnWorkBegin = [](WorkMode, std::int64_t) { throw HandlerError{}; }; }},
        {"work", [this] { client.OnWork = [](WorkMode, std::int64_t) { throw HandlerError{}; }; }},
    };
    auto reply = LoopbackReply::Ok(std::string(4000, 'x'));
    reply.PieceSize = 1000;
    reply.PieceDelay = 10ms;
    server.Answer(reply);
    for (const auto& [name, makeThrow] : handlers) {
        SCOPED_TRACE(name);
        makeThrow();
        EXPECT_THROW(Get(), HandlerError);
    }
    // The client is still usable after a request was abandoned half way.
    client.OnWorkBegin = nullptr;
    client.OnWork = nullptr;
    server.Answer(LoopbackReply::Ok("MZ"));
    EXPECT_EQ(Get(), "MZ");
}

// A stalled server ends the request through the limit that covers the stage it stalls in.
// The other limits are long, so a limit that does not take effect shows as a slow failure.
struct StallCase {
    const char* name;
    LoopbackReply reply;
    HttpLimits limits;
};

void PrintTo(const StallCase& test, std::ostream* out)
{
    *out << test.name;
}

constexpr auto ShortLimit = 300ms;
constexpr auto LongLimit = 20s;
constexpr auto StallBound = 10s;

LoopbackReply StallAfter(std::string head, std::string body)
{
    LoopbackReply reply;
    reply.Head = std::move(head);
    reply.Body = std::move(body);
    reply.After = LoopbackReply::End::Stall;
    return reply;
}

class HttpClientStallTest : public ::testing::TestWithParam<StallCase> {};

TEST_P(HttpClientStallTest, EndsWithinTheLimit)
{
    const auto& test = GetParam();
    LoopbackServer server(test.reply);
    HttpClient client(test.limits);
    MemoryStream body;

    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(client.Get(server.Url(DownloadPath), body), PlatformError);
    EXPECT_LT(std::chrono::steady_clock::now() - start, StallBound);
}

INSTANTIATE_TEST_SUITE_P(Stalls, HttpClientStallTest, ::testing::Values(
    StallCase{"NoAnswer", LoopbackReply::Silent(), {LongLimit, ShortLimit, LongLimit}},
    StallCase{"HeadersOnly", StallAfter("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n", ""), {LongLimit, LongLimit, ShortLimit}},
    StallCase{"MidBody", StallAfter("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n", std::string(400, 'x')), {LongLimit, LongLimit, ShortLimit}},
    StallCase{"MidChunk", StallAfter("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n", "3e8\r\nxxxx"), {LongLimit, LongLimit, ShortLimit}}),
    CaseName<StallCase>);

}  // namespace
}  // namespace brelomat
