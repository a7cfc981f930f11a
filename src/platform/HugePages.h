#pragma once

// Large pictures and transparent huge pages. A 20 MP photo decodes into 80 MB that the kernel
// hands out 4 KB at a time on first touch; on a virtual machine those faults cost more than
// the decode itself (measured: 300 ms against 45 ms per photo). glibc can ask for huge pages
// for its large blocks, but only when told at start through GLIBC_TUNABLES, so the program (the
// window, and a command that decodes many photos) starts itself once more with that set.

namespace portiqa::platform {

// Starts the program again with huge pages for large blocks and does not return, where the
// system offers them and this process was not started that way already; returns otherwise
// (and the program goes on as it is).
void restartWithHugePages(char** argv);

} // namespace portiqa::platform
