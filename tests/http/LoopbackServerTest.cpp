#include "LoopbackServer.h"

#include <gtest/gtest.h>

#include <winsock2.h>
#include <ws2tcpip.h>

#include <string>

namespace brelomat {
namespace {

using testing::LoopbackReply;
using testing::LoopbackServer;

// A bare socket client: what the server sends must arrive exactly as the test wrote it,
// without an HTTP stack in between that would smooth it over.
class RawClient {
public:
    explicit RawClient(std::uint16_t port)
    {
        WSADATA data{};
        WSAStartup(MAKEWORD(2, 2), &data);
        socket_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        const DWORD limit = 5000;  // no read may hang the test
        ::setsockopt(socket_, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&limit), sizeof limit);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(port);
        connected_ = ::connect(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    ~RawClient()
    {
        ::closesocket(socket_);
        WSACleanup();
    }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    bool Connected() const { return connected_; }
    void Send(const std::string& text) { ::send(socket_, text.data(), static_cast<int>(text.size()), 0); }

    // Everything until the server closes the connection (or the read limit passes).
    std::string ReadToEnd()
    {
        std::string all;
        char buffer[4096];
        for (int received; (received = ::recv(socket_, buffer, sizeof buffer, 0)) > 0;)
            all.append(buffer, static_cast<std::size_t>(received));
        return all;
    }

private:
    SOCKET socket_ = INVALID_SOCKET;
    bool connected_ = false;
};

TEST(LoopbackServerTest, SendsTheReplyAsWrittenAndRecordsTheRequestRaw)
{
    LoopbackReply reply;
    reply.Head = "HTTP/1.0 299 Odd\r\nX-Any:  thing \r\n\r\n";
    reply.Body = std::string("bo\0dy", 5);
    reply.PieceSize = 2;
    reply.After = LoopbackReply::End::Close;
    LoopbackServer server(reply);

    RawClient client(server.Port());
    ASSERT_TRUE(client.Connected());
    const std::string request = "GET /a?b HTTP/1.1\r\nHost: h\r\ncookie:  k=v \r\n\r\n";
    client.Send(request);

    EXPECT_EQ(client.ReadToEnd(), reply.Head + reply.Body);
    ASSERT_TRUE(server.WaitForRequests(1, std::chrono::seconds(5)));
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Raw, request);
    EXPECT_EQ(requests[0].RequestLine(), "GET /a?b HTTP/1.1");
    EXPECT_EQ(requests[0].Header("Cookie"), "k=v");
    EXPECT_EQ(requests[0].Header("Accept"), std::nullopt);
}

}  // namespace
}  // namespace brelomat
