// The pacing file as the run follows it: where the run stands in its runs of ticks, and
// each record's material state and pace from its Z steps or from the file's feed column.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

#include "cutfile/pacing/pacingfile.h"
#include "runfields.h"

namespace vornelle {

// Where the run stands in the pacing file: the run of ticks of the next record.
class PacingCursor {
  public:
    explicit PacingCursor(const Pacing* p) : p_(p) {}
    // Past `n` records (a resumed cut).
    void skip(uint64_t n) {
        while (p_ && n > 0 && i_ < p_->runs.size()) {
            uint64_t take = std::min(n, p_->runs[i_].count - used_);
            n -= take, used_ += take;
            if (used_ == p_->runs[i_].count) ++i_, used_ = 0;
        }
    }
    // Whether the last record passed was of the travel column: the run's pace is then the
    // out-of-material feed set by the column (false at the start).
    bool afterTravel() const {
        if (!p_) return false;
        if (used_ > 0) return p_->runs[i_].feed == PacingFeed::Out;
        return i_ > 0 && p_->runs[i_ - 1].feed == PacingFeed::Out;
    }
    // The run of the next record, and past it; null without a pacing file. `pause` tells
    // whether a pause point follows the record.
    const PacingRun* next(bool& pause) {
        pause = false;
        if (!p_ || i_ >= p_->runs.size()) return nullptr;
        const PacingRun* r = &p_->runs[i_];
        if (++used_ == r->count) {
            pause = r->pauseAfter;
            ++i_, used_ = 0;
        }
        return r;
    }

  private:
    const Pacing* p_;
    size_t i_ = 0;
    uint64_t used_ = 0;
};

// The material state and pace of a record, from its Z steps, or from the pacing file's feed
// column when there is one. The column's changes act as the Z steps do (state first, then
// the scroll bar), and the first plunge under an in-material column as it always has, so a
// column that follows the Z steps plays exactly as they would.
void followMaterial(RunServices& s, const FieldValues& f, int r, const PacingRun* paced, bool& paceOut);

}  // namespace vornelle
