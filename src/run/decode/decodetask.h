// Decodes a cut file on a thread of its own, so a screen never waits for a long file: the
// figures and the path come back through a call made on that thread, which the page hands
// over to its own. A new start or the end of the task cancels the decoding under way.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "decodedpath.h"
#include "decoder.h"

namespace vornelle {

struct DecodeResult {
    std::string file;
    DecoderSetup setup;
    Decoded figures;
    std::shared_ptr<const DecodedPath> path;
};

class DecodeTask {
  public:
    // Runs on the decoding thread, never for a decoding that was cancelled.
    using Done = std::function<void(std::shared_ptr<const DecodeResult>)>;

    DecodeTask() = default;
    ~DecodeTask() { cancel(); }
    DecodeTask(const DecodeTask&) = delete;
    DecodeTask& operator=(const DecodeTask&) = delete;

    // `countBefore`: the first record a resumed run plays (see DecodedPath::countBefore).
    void start(const std::string& file, const DecoderSetup& setup, Done done, uint64_t countBefore = 0);
    // Stops the decoding under way, if any, and waits for its thread (a few milliseconds).
    void cancel();

  private:
    std::thread thread_;
    std::shared_ptr<DecodedPath> path_;
};

// The same on the calling thread (command-line tool, tests).
DecodeResult decodeWithPath(const std::string& file, const DecoderSetup& setup);

}  // namespace vornelle
