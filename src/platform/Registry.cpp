#include "platform/Registry.h"

namespace sekreta::platform {

std::vector<std::string_view> SplitKeyPath(std::string_view path)
{
    std::vector<std::string_view> parts;
    while (!path.empty()) {
        const std::size_t separator = path.find('\\');
        const std::string_view part = path.substr(0, separator);
        if (!part.empty())
            parts.push_back(part);
        path = separator == std::string_view::npos ? std::string_view() : path.substr(separator + 1);
    }
    return parts;
}

}  // namespace sekreta::platform
