// Feeds arbitrary bytes to the settings file's reader. Whatever it reads must write back as a
// text that reads as the same tree, and that text must write back unchanged.
#include "platform/posix/SettingsFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const sekreta::platform::SettingsKey tree = sekreta::platform::ParseSettings(text);
    const std::string written = sekreta::platform::FormatSettings(tree);
    const sekreta::platform::SettingsKey again = sekreta::platform::ParseSettings(written);
    if (again != tree || sekreta::platform::FormatSettings(again) != written)
        std::abort();
    return 0;
}
