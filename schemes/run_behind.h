#pragma once
// modRunBehind: runs a console command line hidden and puts everything it writes into
// a text box, yielding to the event loop while it waits.

#include <functional>
#include <string>

#include "platform/process.h"
#include "runtime/controls.h"
#include "runtime/forms.h"

namespace tv {

// Each read asks for at most this much, appended in order.
inline constexpr std::size_t kRunChunkBytes = 1023;

// On return the child has closed its output (normally: ended) and the box holds all
// of it. A command that cannot be started leaves the box empty rather than showing
// the previous command's output as its answer. When stop says so after a turn of the
// event loop (the window unloaded meanwhile), it returns at once with the output so
// far and leaves the child to end on its own: a tool that hangs cannot keep us.
void RunBehind(ProcessRunner& runner, FormRuntime& runtime, const std::string& commandLine,
               TextBox& box, const std::function<bool()>& stop = {});

}  // namespace tv
