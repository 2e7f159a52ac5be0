#include "LoopbackServer.h"

#include "UniqueHandle.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace brelomat::testing {

namespace {

struct SocketTraits {
    using Type = SOCKET;
    static Type Invalid() noexcept { return INVALID_SOCKET; }
    static void Close(Type socket) noexcept { ::closesocket(socket); }
};
using UniqueSocket = UniqueHandle<SocketTraits>;

// How often a blocked thread looks up to see whether the server is stopping.
constexpr timeval Tick{0, 50'000};
// A request head larger than this is not one our client sends; the connection is dropped.
constexpr std::size_t MaxRequestHead = 64 * 1024;
// How long a closing connection waits for the client to close its end, so that the close
// is an orderly one and not a reset.
constexpr auto CloseGrace = std::chrono::seconds(2);
constexpr std::string_view EndOfHead = "\r\n\r\n";

[[noreturn]] void ThrowSocketError(const char* operation)
{
    throw std::runtime_error(std::string(operation) + " failed: WSA error " +
                             std::to_string(WSAGetLastError()));
}

class WinsockSession {
public:
    WinsockSession()
    {
        WSADATA data{};
        if (const int error = WSAStartup(MAKEWORD(2, 2), &data); error != 0)
            throw std::runtime_error("WSAStartup failed: " + std::to_string(error));
    }
    ~WinsockSession() { WSACleanup(); }
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
};

enum class Readiness { Ready, Idle, Failed };

Readiness WaitFor(SOCKET socket, bool forWriting)
{
    fd_set set;
    FD_ZERO(&set);
    FD_SET(socket, &set);
    timeval tick = Tick;
    const int ready = ::select(0, forWriting ? nullptr : &set, forWriting ? &set : nullptr,
                               nullptr, &tick);
    if (ready < 0)
        return Readiness::Failed;
    return ready == 0 ? Readiness::Idle : Readiness::Ready;
}

UniqueSocket ListenOnLoopback(std::uint16_t port)
{
    UniqueSocket listener(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!listener)
        ThrowSocketError("socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    if (::bind(listener.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        ThrowSocketError("bind");
    if (::listen(listener.get(), SOMAXCONN) != 0)
        ThrowSocketError("listen");
    return listener;
}

std::uint16_t BoundPort(SOCKET socket)
{
    sockaddr_in address{};
    int size = sizeof address;
    if (::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        ThrowSocketError("getsockname");
    return ntohs(address.sin_port);
}

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

std::string_view Trim(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string ContentLengthLine(std::size_t length)
{
    return "Content-Length: " + std::to_string(length) + "\r\n";
}

}  // namespace

std::string LoopbackRequest::RequestLine() const
{
    return Raw.substr(0, Raw.find("\r\n"));
}

std::optional<std::string> LoopbackRequest::Header(std::string_view name) const
{
    std::string_view rest(Raw);
    rest.remove_prefix(std::min(rest.size(), rest.find("\r\n") + 2));
    while (!rest.empty()) {
        const auto end = rest.find("\r\n");
        const auto line = rest.substr(0, end);
        if (line.empty())
            break;
        const auto colon = line.find(':');
        if (colon != std::string_view::npos && EqualIgnoringCase(Trim(line.substr(0, colon)), name))
            return std::string(Trim(line.substr(colon + 1)));
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 2);
    }
    return std::nullopt;
}

LoopbackReply LoopbackReply::Ok(std::string body, std::string_view extraHeaders)
{
    LoopbackReply reply;
    reply.Head = "HTTP/1.1 200 OK\r\n" + ContentLengthLine(body.size()) + std::string(extraHeaders) + "\r\n";
    reply.Body = std::move(body);
    return reply;
}

LoopbackReply LoopbackReply::File(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot open " + path.string());
    std::string body{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad())
        throw std::runtime_error("cannot read " + path.string());
    return Ok(std::move(body));
}

LoopbackReply LoopbackReply::Status(std::string_view statusLine, std::string_view extraHeaders)
{
    LoopbackReply reply;
    reply.Head = std::string(statusLine) + "\r\n" + ContentLengthLine(0) + std::string(extraHeaders) + "\r\n";
    return reply;
}

LoopbackReply LoopbackReply::Redirect(std::string_view location)
{
    LoopbackReply reply;
    reply.Body = "Moved";
    reply.Head = "HTTP/1.1 302 Found\r\nLocation: " + std::string(location) + "\r\n" +
                 ContentLengthLine(reply.Body.size()) + "\r\n";
    return reply;
}

LoopbackReply LoopbackReply::Chunked(const std::vector<std::string>& chunks)
{
    LoopbackReply reply;
    reply.Head = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
    for (const auto& chunk : chunks) {
        if (chunk.empty())
            continue;  // an empty chunk would end the body early
        char size[20];
        std::snprintf(size, sizeof size, "%zx\r\n", chunk.size());
        reply.Body += size + chunk + "\r\n";
    }
    reply.Body += "0\r\n\r\n";
    return reply;
}

LoopbackReply LoopbackReply::Silent()
{
    LoopbackReply reply;
    reply.After = End::Stall;
    return reply;
}

struct LoopbackServer::State {
    explicit State(std::vector<LoopbackReply> initial, std::uint16_t wantedPort)
        : listener(ListenOnLoopback(wantedPort)), port(BoundPort(listener.get())),
          replies(std::move(initial))
    {
    }

    // Sleeps for delay unless the server stops first; false when it does.
    bool Pause(std::chrono::milliseconds delay)
    {
        std::unique_lock lock(mutex);
        return !stopSignal.wait_for(lock, delay, [this] { return stopping.load(); });
    }

    void AcceptLoop()
    {
        while (!stopping) {
            const auto readiness = WaitFor(listener.get(), false);
            if (readiness == Readiness::Failed)
                return;
            if (readiness == Readiness::Idle)
                continue;
            UniqueSocket client(::accept(listener.get(), nullptr, nullptr));
            if (!client)
                continue;
            // Pieces of a slow body must leave when they are sent, not when Nagle allows.
            const BOOL noDelay = TRUE;
            ::setsockopt(client.get(), IPPROTO_TCP, TCP_NODELAY,
                         reinterpret_cast<const char*>(&noDelay), sizeof noDelay);
            connections.emplace_back([this, socket = std::move(client)]() mutable { Serve(std::move(socket)); });
        }
    }

    void Serve(UniqueSocket socket)
    {
        std::string pending;
        while (!stopping) {
            auto head = ReadRequestHead(socket.get(), pending);
            if (!head)
                return;
            const LoopbackReply reply = Record(std::move(*head));
            if (!Send(socket.get(), reply))
                return;
            switch (reply.After) {
            case LoopbackReply::End::KeepOpen:
                continue;
            case LoopbackReply::End::Close:
                ::shutdown(socket.get(), SD_SEND);
                DrainUntilClosed(socket.get(), std::chrono::steady_clock::now() + CloseGrace);
                return;
            case LoopbackReply::End::Stall:
                DrainUntilClosed(socket.get(), std::chrono::steady_clock::now() + reply.StallLimit);
                return;
            }
        }
    }

    // The request's head, up to and including its empty line. Requests are GETs and carry
    // no body; whatever follows the head belongs to the next request.
    std::optional<std::string> ReadRequestHead(SOCKET socket, std::string& pending)
    {
        char buffer[4096];
        while (!stopping) {
            if (const auto end = pending.find(EndOfHead); end != std::string::npos) {
                std::string head = pending.substr(0, end + EndOfHead.size());
                pending.erase(0, head.size());
                return head;
            }
            if (pending.size() > MaxRequestHead)
                return std::nullopt;
            const auto readiness = WaitFor(socket, false);
            if (readiness == Readiness::Failed)
                return std::nullopt;
            if (readiness == Readiness::Idle)
                continue;
            const int received = ::recv(socket, buffer, sizeof buffer, 0);
            if (received <= 0)
                return std::nullopt;
            pending.append(buffer, static_cast<std::size_t>(received));
        }
        return std::nullopt;
    }

    LoopbackReply Record(std::string head)
    {
        std::lock_guard lock(mutex);
        requests.push_back({std::move(head)});
        arrived.notify_all();
        if (replies.empty())
            return LoopbackReply::Silent();
        const auto index = std::min(nextReply++, replies.size() - 1);
        return replies[index];
    }

    bool Send(SOCKET socket, const LoopbackReply& reply)
    {
        if (!SendAll(socket, reply.Head))
            return false;
        const std::string_view body(reply.Body);
        const std::size_t pieceSize = reply.PieceSize == 0 ? std::max<std::size_t>(body.size(), 1) : reply.PieceSize;
        for (std::size_t offset = 0; offset < body.size(); offset += pieceSize) {
            if (reply.PieceDelay.count() > 0 && !Pause(reply.PieceDelay))
                return false;
            if (!SendAll(socket, body.substr(offset, pieceSize)))
                return false;
        }
        return true;
    }

    bool SendAll(SOCKET socket, std::string_view data)
    {
        while (!data.empty()) {
            if (stopping)
                return false;
            const auto readiness = WaitFor(socket, true);
            if (readiness == Readiness::Failed)
                return false;
            if (readiness == Readiness::Idle)
                continue;
            const int size = static_cast<int>(std::min<std::size_t>(data.size(), 64 * 1024));
            const int sent = ::send(socket, data.data(), size, 0);
            if (sent <= 0)
                return false;
            data.remove_prefix(static_cast<std::size_t>(sent));
        }
        return true;
    }

    // Reads and drops whatever the client still sends until it closes its end, the server
    // stops or the deadline passes.
    void DrainUntilClosed(SOCKET socket, std::chrono::steady_clock::time_point deadline)
    {
        char buffer[4096];
        while (!stopping && std::chrono::steady_clock::now() < deadline) {
            const auto readiness = WaitFor(socket, false);
            if (readiness == Readiness::Failed)
                return;
            if (readiness == Readiness::Ready && ::recv(socket, buffer, sizeof buffer, 0) <= 0)
                return;
        }
    }

    void Stop()
    {
        {
            std::lock_guard lock(mutex);
            stopping = true;
        }
        stopSignal.notify_all();
        if (acceptor.joinable())
            acceptor.join();
        // Only the acceptor adds connections, and it has ended.
        for (auto& connection : connections)
            connection.join();
    }

    WinsockSession winsock;
    UniqueSocket listener;
    std::uint16_t port;
    std::atomic<bool> stopping{false};

    mutable std::mutex mutex;
    mutable std::condition_variable arrived;
    std::condition_variable stopSignal;
    std::vector<LoopbackRequest> requests;
    std::vector<LoopbackReply> replies;
    std::size_t nextReply = 0;

    std::thread acceptor;
    std::vector<std::thread> connections;
};

LoopbackServer::LoopbackServer(LoopbackReply reply, std::uint16_t port)
    : state_(std::make_unique<State>(std::vector<LoopbackReply>{std::move(reply)}, port))
{
    state_->acceptor = std::thread([state = state_.get()] { state->AcceptLoop(); });
}

LoopbackServer::~LoopbackServer()
{
    state_->Stop();
}

std::uint16_t LoopbackServer::Port() const noexcept
{
    return state_->port;
}

std::string LoopbackServer::HostAndPort() const
{
    return "127.0.0.1:" + std::to_string(Port());
}

std::wstring LoopbackServer::Url(std::string_view path) const
{
    const std::string url = "http://" + HostAndPort() + std::string(path);
    std::wstring wide;
    for (const unsigned char c : url)
        wide += static_cast<wchar_t>(c);
    return wide;
}

void LoopbackServer::Answer(std::vector<LoopbackReply> replies)
{
    std::lock_guard lock(state_->mutex);
    state_->replies = std::move(replies);
    state_->nextReply = 0;
}

void LoopbackServer::Answer(LoopbackReply reply)
{
    Answer(std::vector<LoopbackReply>{std::move(reply)});
}

std::vector<LoopbackRequest> LoopbackServer::Requests() const
{
    std::lock_guard lock(state_->mutex);
    return state_->requests;
}

bool LoopbackServer::WaitForRequests(std::size_t count, std::chrono::milliseconds limit) const
{
    std::unique_lock lock(state_->mutex);
    return state_->arrived.wait_for(lock, limit, [&] { return state_->requests.size() >= count; });
}

std::uint16_t UnusedLoopbackPort()
{
    WinsockSession winsock;
    const UniqueSocket probe = ListenOnLoopback(0);
    return BoundPort(probe.get());
}

}  // namespace brelomat::testing
