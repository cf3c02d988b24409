#include "framework/ShellRequest.h"

namespace sekreta {

namespace {

// Takes the text up to the next double quote, and the quote, off the front of `rest`.
std::optional<std::string> TakeQuoted(std::string_view& rest)
{
    const std::size_t end = rest.find('"');
    if (end == std::string_view::npos)
        return std::nullopt;
    std::string text(rest.substr(0, end));
    rest.remove_prefix(end + 1);
    return text;
}

// Takes `expected` off the front of `rest`; false when it is not there.
bool Take(std::string_view& rest, std::string_view expected)
{
    if (!rest.starts_with(expected))
        return false;
    rest.remove_prefix(expected.size());
    return true;
}

}  // namespace

std::optional<ShellRequest> ShellRequest::Parse(std::string_view request)
{
    ShellRequest parsed;
    std::string_view rest = request;
    if (Take(rest, "[open(\""))
        parsed.kind = Kind::Open;
    else if (Take(rest, "[print(\""))
        parsed.kind = Kind::Print;
    else if (Take(rest, "[printto(\""))
        parsed.kind = Kind::PrintTo;
    else
        return std::nullopt;

    std::optional<std::string> path = TakeQuoted(rest);
    if (!path)
        return std::nullopt;
    parsed.path = std::move(*path);
    if (parsed.kind != Kind::PrintTo)
        return parsed;

    for (std::string* name : {&parsed.printer, &parsed.driver, &parsed.port}) {
        std::optional<std::string> text;
        if (!Take(rest, ",\"") || !(text = TakeQuoted(rest)))
            return std::nullopt;
        *name = std::move(*text);
    }
    return parsed;
}

}  // namespace sekreta
