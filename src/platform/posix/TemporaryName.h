#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sekreta::platform {

// The names of the temporary files a save writes beside its target: a dot, the target's name
// (cut where the whole would pass the folder's limit on names, never inside a character), a
// digest of the whole name, and six characters that make it unique. The digest tells the
// temporaries of long names that begin alike apart.
class TemporaryName {
public:
    TemporaryName(std::string_view targetName, std::size_t longestName);

    // The name with six X in place of the unique characters, as mkostemp takes it.
    std::string Pattern() const;
    // True for a name that Pattern gives once its six X are replaced, and for no other.
    bool Matches(std::string_view name) const;

private:
    std::string m_prefix;
};

}  // namespace sekreta::platform
