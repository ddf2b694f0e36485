#pragma once

#include <algorithm>

namespace serivane::tools {

// A one-pole high-pass a few hertz up: takes out DC and what wanders below hearing, leaving 40 Hz
// within 0.2 dB.
class DcBlocker {
public:
    explicit DcBlocker(int sampleRate)
        : pole_(1.0 - 2.0 * 3.141592653589793 * cornerHz / sampleRate) {}

    double next(double in) {
        double out = in - in_ + pole_ * out_;
        in_ = in;
        out_ = out;
        return out;
    }

    static constexpr double cornerHz = 8.0;
    double pole() const { return pole_; }

private:
    double pole_;
    double in_ = 0.0;
    double out_ = 0.0;
};

// Pink noise from white: a sum of first-order low-passes whose corners are spread so that
// together they fall 3 dB an octave from about 10 Hz to near the Nyquist frequency (of a 44.1
// or 48 kHz rate; the shape scales with the rate), then the DC blocker. Plain arithmetic, so
// every build gives the same samples.
class PinkFilter {
public:
    explicit PinkFilter(int sampleRate) : dc_(sampleRate) {}

    double next(double white) {
        b_[0] = 0.99886 * b_[0] + white * 0.0555179;
        b_[1] = 0.99332 * b_[1] + white * 0.0750759;
        b_[2] = 0.96900 * b_[2] + white * 0.1538520;
        b_[3] = 0.86650 * b_[3] + white * 0.3104856;
        b_[4] = 0.55000 * b_[4] + white * 0.5329522;
        b_[5] = -0.7616 * b_[5] - white * 0.0168980;
        double pink = b_[0] + b_[1] + b_[2] + b_[3] + b_[4] + b_[5] + b_[6] + white * 0.5362;
        b_[6] = white * 0.115926;
        return dc_.next(pink);
    }

    // Frames after which an impulse's answer has died away.
    int settleFrames() const {
        return std::max(40000, static_cast<int>(60.0 / (1.0 - dc_.pole())));
    }

private:
    double b_[7] = {};
    DcBlocker dc_;
};

// Brown noise from white: an integrator that falls 6 dB an octave, with a slight low-pass
// that keeps that slope up to two thirds of the Nyquist frequency, leaking at the DC blocker's
// corner so that it does not wander off, then the DC blocker.
class BrownFilter {
public:
    explicit BrownFilter(int sampleRate) : dc_(sampleRate) {}

    double next(double white) {
        // 0.8846 + 2 * 0.0577 = 1: the integrator's slope at low frequencies stays as it is.
        double smoothed = 0.0577 * (white + x2_) + 0.8846 * x1_;
        x2_ = x1_;
        x1_ = white;
        integrated_ = dc_.pole() * integrated_ + smoothed;
        return dc_.next(integrated_);
    }

    // Frames after which an impulse's answer has died away.
    int settleFrames() const { return static_cast<int>(60.0 / (1.0 - dc_.pole())); }

private:
    DcBlocker dc_;
    double x1_ = 0.0;
    double x2_ = 0.0;
    double integrated_ = 0.0;
};

} // namespace serivane::tools
