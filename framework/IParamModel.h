#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

// Kinds of parameter; the numbers are part of the framework's vocabulary.
enum class IParamType : int32_t { None = 0, Bool = 1, Int = 2, Enum = 3, Double = 4 };

// A text shown instead of the number for one integer value.
struct IDisplayText {
    int32_t value = 0;
    std::string text;
};

// One automatable value: its definition and its current value in real units. The value is
// atomic because host UI-thread queries read and write it without the plug-in mutex.
class IParamModel {
public:
    static constexpr size_t kTextCapacity = 31;

    void DefineDouble(const char* name, double defaultValue, double min, double max, double step,
                      const char* label);
    void DefineInt(const char* name, int defaultValue, int min, int max, const char* label);
    void DefineEnum(const char* name, int defaultValue, int count, const char* label);
    void SetShape(double shape);
    void AddDisplayText(int value, const char* text);

    double Value() const { return value_.load(std::memory_order_relaxed); }
    // Stores a real value clamped to the range; NaN becomes the minimum.
    void SetClamped(double value);
    // Maps a normalised value through the shape, snaps non-double kinds to the step and stores it.
    // Hosts send odd values: the argument is clamped to 0..1 and a NaN is ignored.
    void SetFromNormalized(double normalized);

    double FromNormalized(double normalized) const;
    double ToNormalized(double value) const;
    double NormalizedValue() const { return ToNormalized(Value()); }
    double DefaultNormalized() const;

    // The text shown for a value; numbers are written with '.' whatever the process locale.
    std::string FormatValue(double value, bool isNormalized) const;
    int DisplayTextCount() const { return static_cast<int>(displayTexts_.size()); }
    const char* DisplayTextFor(int value) const;
    bool ValueForDisplayText(const char* text, double* value) const;
    // Reads a value typed by a person: one of the display texts in any case, else the number at
    // the start of the text, written with '.' whatever the process locale. A text with neither
    // reads as 0, except that a parameter with display texts refuses it (false).
    bool ReadText(const char* text, double* value) const;

    const char* Name() const { return name_.c_str(); }
    const char* Label() const { return label_.c_str(); }
    const char* Group() const { return group_.c_str(); }
    IParamType Type() const { return type_; }
    double Min() const { return min_; }
    double Max() const { return max_; }
    double Step() const { return step_; }
    double Shape() const { return shape_; }
    double Default() const { return default_; }
    int Precision() const { return precision_; }
    bool NegateDisplay() const { return negateDisplay_; }
    void SetNegateDisplay(bool negate) { negateDisplay_ = negate; }
    bool CanAutomate() const { return canAutomate_; }

private:
    IParamType type_ = IParamType::None;
    std::atomic<double> value_{0.0};
    double min_ = 0.0;
    double max_ = 1.0;
    double step_ = 1.0;
    double shape_ = 1.0;
    double default_ = 0.0;
    int precision_ = 0;
    std::string name_;
    std::string label_;
    std::string group_;
    bool negateDisplay_ = false;
    bool canAutomate_ = true;
    std::vector<IDisplayText> displayTexts_;
};

// Rounds half away from zero, as every integer key and display of the framework does.
int32_t RoundHalfAway(double value);
