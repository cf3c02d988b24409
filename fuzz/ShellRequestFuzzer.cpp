// Feeds arbitrary bytes to the parser of the requests that another start of the program hands
// to the running one. Whatever it accepts must be what the request's own text says: the
// request written back from the parsed parts begins the input, holds no stray quote, and
// parses to the same parts again.
#include "framework/ShellRequest.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using sekreta::ShellRequest;

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

// The request as the sending side writes it, up to its closing parenthesis.
std::string Written(const ShellRequest& request)
{
    switch (request.kind) {
    case ShellRequest::Kind::Open:
        return "[open(" + Quoted(request.path);
    case ShellRequest::Kind::Print:
        return "[print(" + Quoted(request.path);
    case ShellRequest::Kind::PrintTo:
        return "[printto(" + Quoted(request.path) + "," + Quoted(request.printer) + "," + Quoted(request.driver) + ","
            + Quoted(request.port);
    }
    std::abort();
}

bool HoldsQuote(const ShellRequest& request)
{
    for (const std::string* text : {&request.path, &request.printer, &request.driver, &request.port}) {
        if (text->find('"') != std::string::npos)
            return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<ShellRequest> request = ShellRequest::Parse(text);
    if (!request)
        return 0;
    if (HoldsQuote(*request))
        std::abort();
    if (request->kind != ShellRequest::Kind::PrintTo
        && (!request->printer.empty() || !request->driver.empty() || !request->port.empty()))
        std::abort();
    const std::string written = Written(*request);
    if (!text.starts_with(written))
        std::abort();
    const std::optional<ShellRequest> again = ShellRequest::Parse(written + ")]");
    if (!again || again->kind != request->kind || again->path != request->path || again->printer != request->printer
        || again->driver != request->driver || again->port != request->port)
        std::abort();
    return 0;
}
