#pragma once

#include <cstdio>
#include <mutex>
#include <string>

// JSON-RPC messages framed as the Language Server Protocol frames them: header lines, among them
// "Content-Length: N", an empty line, then N bytes of UTF-8 JSON. Reads on one thread; writes
// from any, one whole message at a time.
class CLspChannel {
public:
    enum class Read { Message, BadHeader, Closed };

    CLspChannel(std::FILE* in, std::FILE* out) : in_(in), out_(out) {}

    // The next message's body. BadHeader: a header without a usable length, whose body cannot be
    // found; reading goes on with the next header. Closed: the input ended or failed, or a body
    // would not fit into memory.
    Read ReadMessage(std::string& body);
    // False when the message could not be written: the client is gone.
    bool Write(const std::string& body);

    // A length past which a message is taken for a broken stream rather than read.
    static constexpr unsigned long long kLargestMessage = 1ull << 30;

private:
    // One header line without its line end; false at the input's end.
    bool ReadLine(std::string& line);

    std::FILE* in_;
    std::FILE* out_;
    std::mutex writing_;
};
