#include "tools/vprinter/non_printer.h"

#include <cstdio>

namespace vprinter {

namespace {

const uint8_t kInfoRequest[] = {0x01, 'F', 'G'};
const uint8_t kUnknownCodeReply[] = {0x02, 'Z', '0', '0', '0', '0', '0', '0', '0', '0', 0x03};

std::string BadRequestPage() {
    const std::string body = "<html><head><title>400 Bad Request</title></head>"
                             "<body><h1>Bad Request</h1><p>The request could not be understood "
                             "by this server.</p></body></html>\r\n";
    return "HTTP/1.1 400 Bad Request\r\n"
           "Content-Type: text/html\r\n"
           "Content-Length: " +
           std::to_string(body.size()) +
           "\r\n"
           "Connection: close\r\n"
           "\r\n" +
           body;
}

void Append(std::vector<uint8_t>& out, const uint8_t* data, size_t size) {
    out.insert(out.end(), data, data + size);
}

} // namespace

bool ParseNonPrinterKind(const std::string& text, NonPrinterKind& kind) {
    const struct {
        const char* name;
        NonPrinterKind kind;
    } kinds[] = {{"http", NonPrinterKind::Http},
                 {"random", NonPrinterKind::Random},
                 {"stream", NonPrinterKind::Stream},
                 {"unknown-code", NonPrinterKind::UnknownCode},
                 {"echo", NonPrinterKind::Echo}};
    for (const auto& k : kinds) {
        if (text == k.name) {
            kind = k.kind;
            return true;
        }
    }
    return false;
}

std::string DescribeNonPrinter(const NonPrinterOptions& options) {
    char text[40];
    switch (options.kind) {
    case NonPrinterKind::Http:
        return "http";
    case NonPrinterKind::Random:
        std::snprintf(text, sizeof text, "random, seed %u", options.seed);
        return text;
    case NonPrinterKind::Stream:
        std::snprintf(text, sizeof text, "stream of %02X", options.streamByte);
        return text;
    case NonPrinterKind::UnknownCode:
        return "unknown-code";
    case NonPrinterKind::Echo:
        return "echo";
    }
    return "?";
}

NonPrinterPeer::NonPrinterPeer(const NonPrinterOptions& options)
    : options_(options), random_(options.seed) {}

void NonPrinterPeer::Receive(const uint8_t* data, size_t size, std::vector<uint8_t>& out) {
    if (size == 0 || finished_)
        return;
    switch (options_.kind) {
    case NonPrinterKind::Http: {
        const std::string page = BadRequestPage();
        Append(out, reinterpret_cast<const uint8_t*>(page.data()), page.size());
        finished_ = true;
        break;
    }
    case NonPrinterKind::Random: {
        // mt19937's sequence is fixed by the standard, unlike the
        // distributions': the same seed gives the same bytes everywhere.
        const size_t count = 200 + random_() % 256;
        for (size_t i = 0; i < count; ++i)
            out.push_back(uint8_t(random_()));
        break;
    }
    case NonPrinterKind::Stream:
        // It says the same whatever it is told.
        break;
    case NonPrinterKind::UnknownCode:
        for (size_t i = 0; i < size; ++i) {
            if (data[i] == kInfoRequest[requestMatched_]) {
                if (++requestMatched_ == sizeof kInfoRequest) {
                    Append(out, kUnknownCodeReply, sizeof kUnknownCodeReply);
                    requestMatched_ = 0;
                }
            } else {
                requestMatched_ = data[i] == kInfoRequest[0] ? 1 : 0;
            }
        }
        break;
    case NonPrinterKind::Echo:
        Append(out, data, size);
        break;
    }
}

void NonPrinterPeer::Stream(size_t size, std::vector<uint8_t>& out) const {
    out.insert(out.end(), size, options_.streamByte);
}

} // namespace vprinter
