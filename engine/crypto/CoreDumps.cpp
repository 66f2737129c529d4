#include "engine/crypto/CoreDumps.h"

#include <sys/prctl.h>
#include <sys/resource.h>

namespace quarix::engine {

void disableCoreDumps() {
    const rlimit none{0, 0};
    ::setrlimit(RLIMIT_CORE, &none);
    // Not dumpable also keeps other processes of the user from reading
    // this one's memory through ptrace.
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
}

} // namespace quarix::engine
