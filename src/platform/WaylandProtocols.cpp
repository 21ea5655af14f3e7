// The data-control protocols' interface tables, as wayland-scanner writes them (C), built into the C++ module.
// The client headers come first: they declare every table extern "C", which the generated code relies on.
#include "ext-data-control-v1-client.h"
#include "wlr-data-control-unstable-v1-client.h"

#pragma GCC diagnostic push
// The tables are marked hidden after the headers declared them: the mark is dropped, which is harmless here.
#pragma GCC diagnostic ignored "-Wattributes"
extern "C" {
#include "ext-data-control-v1-protocol.c"
#include "wlr-data-control-unstable-v1-protocol.c"
}
#pragma GCC diagnostic pop
