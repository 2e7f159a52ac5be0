#pragma once

#include "HttpGetter.h"
#include "MemoryStream.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace brelomat::testing {

// Answers every GET with Body, delivered in pieces of ChunkSize with the work events a real
// transfer raises, or fails where the test says.
class FakeHttpGetter : public HttpGetter {
public:
    enum class Failure { None, BeforeBody, AfterBody };

    void Get(const std::wstring& url, MemoryStream& body) override
    {
        Urls.push_back(url);
        if (Fails == Failure::BeforeBody)
            throw std::runtime_error("connection refused");
        RaiseWorkBegin(WorkMode::Read, DeclaredLength.value_or(static_cast<std::int64_t>(Body.size())));
        body.Reserve(DeclaredLength.value_or(0));
        std::size_t delivered = 0;
        while (delivered < Body.size()) {
            const auto n = std::min(ChunkSize, Body.size() - delivered);
            body.Write(std::span(Body).subspan(delivered, n));
            delivered += n;
            RaiseWork(WorkMode::Read, static_cast<std::int64_t>(delivered));
        }
        if (Fails == Failure::AfterBody)
            throw std::runtime_error("short body");
    }

    std::vector<std::byte> Body;
    std::optional<std::int64_t> DeclaredLength;  // the body's size when not set
    std::size_t ChunkSize = 100'000;
    Failure Fails = Failure::None;
    std::vector<std::wstring> Urls;
};

}  // namespace brelomat::testing
