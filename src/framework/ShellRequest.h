#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sekreta {

// A request that another start of the program, or the desktop, sends to the running one:
// [open("path")], [print("path")] or [printto("path","printer","driver","port")].
struct ShellRequest {
    enum class Kind { Open, Print, PrintTo };
    Kind kind = Kind::Open;
    std::string path;
    std::string printer;
    std::string driver;
    std::string port;

    // The request, or nothing when it has another beginning or a text lacks its closing quote.
    static std::optional<ShellRequest> Parse(std::string_view request);
};

}  // namespace sekreta
