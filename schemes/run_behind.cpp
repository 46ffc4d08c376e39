#include "schemes/run_behind.h"

namespace tv {

void RunBehind(ProcessRunner& runner, FormRuntime& runtime, const std::string& commandLine,
               TextBox& box, const std::function<bool()>& stop) {
    std::unique_ptr<CapturedProcess> run = runner.startCaptured(commandLine);
    box.Text.clear();
    if (!run) {
        return;
    }
    auto stopped = [&] { return stop && stop(); };
    while (true) {
        runtime.DoEvents();
        if (stopped()) {
            return;
        }
        std::string chunk;
        ReadStatus status = run->read(chunk, kRunChunkBytes);
        if (status == ReadStatus::Ended) {
            break;
        }
        if (status == ReadStatus::Pending) {
            continue;
        }
        // A chunk is text up to its first zero byte.
        box.Text.append(chunk.c_str());
        runtime.DoEvents();
        if (stopped()) {
            return;
        }
    }
}

}  // namespace tv
