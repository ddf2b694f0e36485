#pragma once

#include <cstdint>
#include <limits>
#include <vector>

namespace serivane::tools {

// A value over the frames of a session, read frame by frame: held, or moved in a straight line
// between two frames, each move starting from wherever the value is when it starts. Reading
// allocates nothing.
class ValueCurve {
public:
    // To `value` from frame `start`, reached at frame `end` (at once when `end <= start`).
    struct Move {
        std::int64_t start;
        std::int64_t end;
        double value;
    };

    ValueCurve() : held_(0.0) {}
    explicit ValueCurve(double start) : held_(start) {}
    // `moves` in order of start.
    ValueCurve(double start, const std::vector<Move>& moves);

    // The value at the next frame.
    double next() {
        std::int64_t frame = frame_++;
        while (next_ < segments_.size() && frame >= segments_[next_].start) {
            current_ = segments_[next_++];
            moving_ = true;
        }
        if (!moving_) return held_;
        if (frame < current_.end) return current_.valueAt(frame);
        moving_ = false;
        held_ = current_.to;
        return held_;
    }

private:
    struct Segment {
        std::int64_t start;
        std::int64_t end;
        double from;
        double to;
        double valueAt(std::int64_t frame) const {
            return from + (to - from) * static_cast<double>(frame - start) /
                              static_cast<double>(end - start);
        }
    };

    std::vector<Segment> segments_;
    std::size_t next_ = 0;
    Segment current_{};
    bool moving_ = false;
    double held_;
    std::int64_t frame_ = 0;
};

// A level in dB over the frames of a session, read as a gain (10^(dB/20)) frame by frame; it
// glides evenly in dB.
class LevelCurve {
public:
    explicit LevelCurve(double decibels, const std::vector<ValueCurve::Move>& moves = {})
        : decibels_(decibels, moves) {}

    double next() {
        double decibels = decibels_.next();
        if (decibels != last_) {
            last_ = decibels;
            gain_ = gainOf(decibels);
        }
        return gain_;
    }

    static double gainOf(double decibels);

private:
    ValueCurve decibels_;
    double last_ = std::numeric_limits<double>::quiet_NaN();
    double gain_ = 0.0;
};

} // namespace serivane::tools
