#pragma once

#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <vector>

namespace sekreta::test {

// Checks every file in the folder but `kept`, as a crash or a failed clean-up leaves it behind:
// hidden under the kept file's name, a regular file, readable and writable by its owner alone.
// Returns their names.
inline std::vector<std::string> CheckLeftOvers(const TemporaryFolder& folder, const std::string& kept)
{
    std::vector<std::string> found;
    for (const std::string& name : folder.Entries()) {
        if (name == kept)
            continue;
        found.push_back(name);
        EXPECT_TRUE(name.starts_with("." + kept + ".")) << name << " is not hidden";
        struct stat status { };
        EXPECT_EQ(::lstat((folder / name).c_str(), &status), 0);
        EXPECT_TRUE(S_ISREG(status.st_mode)) << name;
        EXPECT_EQ(status.st_mode & 07777, 0600u) << name << " is readable by others";
    }
    return found;
}

}  // namespace sekreta::test
