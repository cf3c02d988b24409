#pragma once

namespace sekreta::platform {

// Keeps the running program's memory to itself: no core file is written when it crashes, and no
// other process of the same user may attach to it or read its memory (which also makes root the
// owner of its entries in /proc). Called first in main, before any secret is in memory. Neither
// step fails on Linux; should one, the program runs on as it would without it, so nothing is
// reported.
void MakeProcessPrivate();

}  // namespace sekreta::platform
