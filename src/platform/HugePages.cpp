#include "platform/HugePages.h"

#include <QtGlobal>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#if defined(Q_OS_LINUX) && defined(__GLIBC__)
#include <unistd.h>
#endif

namespace portiqa::platform {

void restartWithHugePages(char** argv) {
#if defined(Q_OS_LINUX) && defined(__GLIBC__)
    static const char kMarker[] = "PORTIQA_HUGE_PAGES";
    if (std::getenv(kMarker) != nullptr) {
        return; // this is the restarted process, or someone asked for no restart
    }
    std::ifstream setting("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string modes;
    std::getline(setting, modes);
    if (modes.find("[always]") == std::string::npos &&
        modes.find("[madvise]") == std::string::npos) {
        return;
    }
    std::string tunables;
    if (const char* given = std::getenv("GLIBC_TUNABLES")) {
        tunables = given;
        if (tunables.find("glibc.malloc.hugetlb") != std::string::npos) {
            return; // the caller chose already
        }
        tunables += ':';
    }
    tunables += "glibc.malloc.hugetlb=1";
    setenv("GLIBC_TUNABLES", tunables.c_str(), 1);
    setenv(kMarker, "1", 1);
    execv("/proc/self/exe", argv);
    // Could not start again: go on without huge pages.
    unsetenv(kMarker);
#else
    (void)argv;
#endif
}

} // namespace portiqa::platform
