#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace brelomat {

class MemoryStream;

enum class WorkMode { Read, Write };

// One HTTP GET into memory, with the work events that let a window follow the transfer.
class HttpGetter {
public:
    using WorkHandler = std::function<void(WorkMode mode, std::int64_t count)>;

    virtual ~HttpGetter() = default;

    // Writes the body of a complete 2xx answer into body. Throws for everything else: a
    // failed name resolution, a refused or broken connection, a status outside 200 to 299
    // (redirects are not followed), a body shorter than its declared length, a stall.
    // While the body arrives, raises OnWorkBegin once with the declared length (0 when the
    // answer declares none or is chunked), then OnWork with the running count.
    virtual void Get(const std::wstring& url, MemoryStream& body) = 0;

    WorkHandler OnWorkBegin;
    WorkHandler OnWork;

protected:
    void RaiseWorkBegin(WorkMode mode, std::int64_t expected) const
    {
        if (OnWorkBegin)
            OnWorkBegin(mode, expected);
    }
    void RaiseWork(WorkMode mode, std::int64_t count) const
    {
        if (OnWork)
            OnWork(mode, count);
    }
};

}  // namespace brelomat
