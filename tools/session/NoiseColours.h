#pragma once

#include <algorithm>
#include <cmath>

namespace serivane::tools {

// A second-order Butterworth high-pass at 20 Hz: takes out DC and the rumble below hearing,
// which would spend the level on nothing, and leaves 40 Hz within 0.3 dB. Its coefficients come
// from plain arithmetic (tan as its series, exact this far below the Nyquist frequency), so
// every build computes the same ones.
class SubsonicFilter {
public:
    explicit SubsonicFilter(int sampleRate) {
        double x = pi * cornerHz / sampleRate;
        double k = x + x * x * x / 3.0 + 2.0 * x * x * x * x * x / 15.0; // tan(x)
        double q = std::sqrt(2.0) * k;
        double norm = 1.0 / (1.0 + q + k * k);
        b0_ = norm;
        a1_ = 2.0 * (k * k - 1.0) * norm;
        a2_ = (1.0 - q + k * k) * norm;
    }

    double next(double in) {
        double out = b0_ * (in - 2.0 * in1_ + in2_) - a1_ * out1_ - a2_ * out2_;
        in2_ = in1_;
        in1_ = in;
        out2_ = out1_;
        out1_ = out;
        return out;
    }

    static constexpr double pi = 3.141592653589793;
    static constexpr double cornerHz = 20.0;
    // Frames after which an impulse's answer has died away.
    static int settleFrames(int sampleRate) {
        return static_cast<int>(10.0 * sampleRate / cornerHz);
    }

private:
    double b0_, a1_, a2_;
    double in1_ = 0.0, in2_ = 0.0, out1_ = 0.0, out2_ = 0.0;
};

// Pink noise from white: a sum of first-order low-passes whose corners are spread so that
// together they fall 3 dB an octave from about 10 Hz to near the Nyquist frequency (of a 44.1
// or 48 kHz rate; the shape scales with the rate), then the subsonic high-pass. Plain
// arithmetic, so every build gives the same samples.
class PinkFilter {
public:
    explicit PinkFilter(int sampleRate) : sampleRate_(sampleRate), subsonic_(sampleRate) {}

    double next(double white) {
        b_[0] = 0.99886 * b_[0] + white * 0.0555179;
        b_[1] = 0.99332 * b_[1] + white * 0.0750759;
        b_[2] = 0.96900 * b_[2] + white * 0.1538520;
        b_[3] = 0.86650 * b_[3] + white * 0.3104856;
        b_[4] = 0.55000 * b_[4] + white * 0.5329522;
        b_[5] = -0.7616 * b_[5] - white * 0.0168980;
        double pink = b_[0] + b_[1] + b_[2] + b_[3] + b_[4] + b_[5] + b_[6] + white * 0.5362;
        b_[6] = white * 0.115926;
        return subsonic_.next(pink);
    }

    // Frames after which an impulse's answer has died away.
    int settleFrames() const { return std::max(40000, SubsonicFilter::settleFrames(sampleRate_)); }

private:
    double b_[7] = {};
    int sampleRate_;
    SubsonicFilter subsonic_;
};

// Brown noise from white: an integrator that falls 6 dB an octave, with a slight low-pass
// that keeps that slope up to two thirds of the Nyquist frequency, leaking below 8 Hz so that
// it does not wander off, then the subsonic high-pass.
class BrownFilter {
public:
    explicit BrownFilter(int sampleRate)
        : leak_(1.0 - 2.0 * SubsonicFilter::pi * 8.0 / sampleRate), subsonic_(sampleRate) {}

    double next(double white) {
        // 0.8846 + 2 * 0.0577 = 1: the integrator's slope at low frequencies stays as it is.
        double smoothed = 0.0577 * (white + x2_) + 0.8846 * x1_;
        x2_ = x1_;
        x1_ = white;
        integrated_ = leak_ * integrated_ + smoothed;
        return subsonic_.next(integrated_);
    }

    // Frames after which an impulse's answer has died away.
    int settleFrames() const { return static_cast<int>(60.0 / (1.0 - leak_)); }

private:
    double leak_;
    SubsonicFilter subsonic_;
    double x1_ = 0.0;
    double x2_ = 0.0;
    double integrated_ = 0.0;
};

} // namespace serivane::tools
