// Background decoding; see decodetask.h.
#include "decodetask.h"

namespace vornelle {

DecodeResult decodeWithPath(const std::string& file, const DecoderSetup& setup) {
    auto path = std::make_shared<DecodedPath>();
    DecodeResult r{file, setup, decodeCutFile(file, setup, path.get()), nullptr};
    path->finish();
    r.path = path;
    return r;
}

void DecodeTask::start(const std::string& file, const DecoderSetup& setup, Done done, uint64_t countBefore) {
    cancel();
    auto path = std::make_shared<DecodedPath>();
    path->countBefore(countBefore);
    path_ = path;
    thread_ = std::thread([file, setup, path, done = std::move(done)] {
        auto r = std::make_shared<DecodeResult>();
        r->file = file;
        r->setup = setup;
        r->figures = decodeCutFile(file, setup, path.get());
        if (path->cancelled()) return;
        path->finish();
        r->path = path;
        if (done) done(r);
    });
}

void DecodeTask::cancel() {
    if (path_) path_->cancel();
    if (thread_.joinable()) thread_.join();
    path_.reset();
}

}  // namespace vornelle
