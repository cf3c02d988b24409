#include "platform/posix/ProcessPrivacy.h"

#include <sys/prctl.h>
#include <sys/resource.h>

namespace sekreta::platform {

void MakeProcessPrivate()
{
    const rlimit noCore {0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
}

}  // namespace sekreta::platform
