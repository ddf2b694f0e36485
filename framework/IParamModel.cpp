#include "framework/IParamModel.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>

namespace {

std::string Capped(const char* text) {
    if (!text) return {};
    return std::string(text, strnlen(text, IParamModel::kTextCapacity));
}

std::string_view Trimmed(std::string_view text) {
    constexpr std::string_view kSpace = " \t\n\v\f\r";
    const size_t first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

int PrecisionOfStep(double step) {
    int precision = 0;
    while (step != std::floor(step) && precision < 6) {
        ++precision;
        step *= 10.0;
    }
    return precision;
}

} // namespace

int32_t RoundHalfAway(double value) {
    if (!(value == value)) return 0;
    const double limit = static_cast<double>(std::numeric_limits<int32_t>::max());
    value = std::clamp(value, -limit, limit);
    return static_cast<int32_t>(value >= 0.0 ? value + 0.5 : value - 0.5);
}

void IParamModel::DefineDouble(const char* name, double defaultValue, double min, double max,
                               double step, const char* label) {
    if (type_ == IParamType::None) type_ = IParamType::Double;
    name_ = Capped(name);
    label_ = Capped(label);
    value_.store(defaultValue);
    default_ = defaultValue;
    min_ = min;
    max_ = std::max(max, min + step);
    step_ = step;
    precision_ = PrecisionOfStep(step);
}

void IParamModel::DefineInt(const char* name, int defaultValue, int min, int max,
                            const char* label) {
    if (type_ == IParamType::None) type_ = IParamType::Int;
    DefineDouble(name, defaultValue, min, max, 1.0, label);
}

void IParamModel::DefineEnum(const char* name, int defaultValue, int count, const char* label) {
    if (type_ == IParamType::None) type_ = IParamType::Enum;
    DefineDouble(name, defaultValue, 0.0, count - 1, 1.0, label);
}

void IParamModel::SetShape(double shape) {
    if (shape != 0.0) shape_ = shape;
}

void IParamModel::AddDisplayText(int value, const char* text) {
    displayTexts_.push_back({value, Capped(text)});
}

void IParamModel::SetClamped(double value) {
    value_.store(value > min_ ? std::min(value, max_) : min_, std::memory_order_relaxed);
}

void IParamModel::SetFromNormalized(double normalized) {
    if (std::isnan(normalized)) return;
    double value = FromNormalized(std::clamp(normalized, 0.0, 1.0));
    if (type_ != IParamType::Double) value = std::floor(value / step_ + 0.5) * step_;
    value_.store(std::min(value, max_), std::memory_order_relaxed);
}

double IParamModel::FromNormalized(double normalized) const {
    return min_ + (max_ - min_) * std::pow(normalized, shape_);
}

double IParamModel::ToNormalized(double value) const {
    value = value > min_ ? std::min(value, max_) : min_;
    return std::pow((value - min_) / (max_ - min_), 1.0 / shape_);
}

double IParamModel::DefaultNormalized() const {
    return std::pow((default_ - min_) / (max_ - min_), 1.0 / shape_);
}

std::string IParamModel::FormatValue(double value, bool isNormalized) const {
    if (isNormalized) value = FromNormalized(value);
    const char* text = DisplayTextFor(RoundHalfAway(value));
    if (*text) return text;
    if (value == 0.0) return "0";
    const double shown = negateDisplay_ ? -value : value;
    // Room for every finite double in fixed notation; the text never depends on the locale.
    char buffer[330];
    const char* end = precision_ == 0
                          ? std::to_chars(buffer, buffer + sizeof buffer, RoundHalfAway(shown)).ptr
                          : std::to_chars(buffer, buffer + sizeof buffer, shown,
                                          std::chars_format::fixed, precision_)
                                .ptr;
    return std::string(buffer, std::min(static_cast<size_t>(end - buffer), kTextCapacity));
}

const char* IParamModel::DisplayTextFor(int value) const {
    for (const IDisplayText& entry : displayTexts_)
        if (entry.value == value) return entry.text.c_str();
    return "";
}

bool IParamModel::ReadText(const char* text, double* value) const {
    const std::string_view typed = Trimmed(text ? text : "");
    for (const IDisplayText& entry : displayTexts_) {
        if (!entry.text.empty() && EqualIgnoringCase(entry.text, typed)) {
            *value = entry.value;
            return true;
        }
    }
    const char* first = typed.data();
    const char* last = first + typed.size();
    if (first != last && *first == '+') ++first;
    double number = 0.0;
    if (std::from_chars(first, last, number).ec == std::errc()) {
        *value = number;
        return true;
    }
    if (!displayTexts_.empty()) return false;
    *value = 0.0;
    return true;
}

bool IParamModel::ValueForDisplayText(const char* text, double* value) const {
    for (const IDisplayText& entry : displayTexts_) {
        if (entry.text == text) {
            *value = entry.value;
            return true;
        }
    }
    return false;
}
