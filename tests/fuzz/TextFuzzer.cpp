// Typed text for every parameter: what getParamValueByString reads must be a value in range,
// and the text getParamStringByValue shows for it must read back as the value shown.
//
// Input: a sequence of checks, each: id (u8 mod 25: 0-21, 22 program, 23 bypass, 24 any u32
// id), then (u8, odd) a conversion of a number: a special value (u8, odd; then u8 picks one)
// or any double (f64); or (even) typed text: the text a parameter (u8 mod 22) shows for a
// share of 0..1 (u32) when u8 is odd, with up to (u8 mod 161) UTF-16 characters, each
// appended (u8, odd) or put in front, ending at a 0.

#include "FuzzCheck.h"
#include "FuzzInstrument.h"
#include "FuzzReader.h"
#include "OutputBound.h"

#include <cmath>
#include <limits>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int kTextCapacity = 128;

std::u16string Shown(CLS_SERIVANE& plugin, ParamID id, double normalized) {
    String128 text;
    for (TChar& c : text) c = u'#';
    Require(plugin.getParamStringByValue(id, normalized, text) == kResultOk,
            "parameter %u shows no text for %g", id, normalized);
    std::u16string shown;
    int n = 0;
    for (; n < kTextCapacity && text[n] != 0; ++n) {
        Require(text[n] >= 0x20 && text[n] < 0x7F, "parameter %u shows character %#x", id,
                static_cast<unsigned>(text[n]));
        shown.push_back(text[n]);
    }
    Require(n < kTextCapacity, "parameter %u shows an unterminated text", id);
    return shown;
}

std::string Narrow(const std::u16string& text) {
    return std::string(text.begin(), text.end());
}

// A parameter's text read back: a value in range, whose shown text reads back as the value
// shown, within half a unit of the last digit shown.
void RequireStableText(CLS_SERIVANE& plugin, ParamID id, const std::u16string& typed) {
    std::u16string text = typed;
    ParamValue normalized = -1.0;
    if (plugin.getParamValueByString(id, text.data(), normalized) != kResultOk) return;
    Require(normalized >= 0.0 && normalized <= 1.0, "parameter %u reads \"%s\" as %g", id,
            Narrow(typed).c_str(), normalized);
    if (id >= kNumParams) return;
    const std::u16string shown = Shown(plugin, id, normalized);
    text = shown;
    ParamValue again = -1.0;
    Require(plugin.getParamValueByString(id, text.data(), again) == kResultOk,
            "parameter %u cannot read its own text \"%s\"", id, Narrow(shown).c_str());
    const IParamModel& param = *plugin.ParamAt(static_cast<int>(id));
    const double value = plugin.normalizedParamToPlain(id, normalized);
    const double read = plugin.normalizedParamToPlain(id, again);
    const double halfUnit = 0.5 * std::pow(10.0, -param.Precision());
    Require(std::fabs(read - value) <= halfUnit * (1.0 + 1e-9) + 1e-12 * param.Max(),
            "parameter %u shows %g as \"%s\", which reads back as %g", id, value,
            Narrow(shown).c_str(), read);
    plugin.setParamNormalized(id, normalized);
    RequireParametersInRange(plugin);
}

// Conversions in both directions stay in range, whatever number comes in.
void RequireConversionsInRange(CLS_SERIVANE& plugin, ParamID id, double x) {
    if (id >= kNumParams) return;
    const IParamModel& param = *plugin.ParamAt(static_cast<int>(id));
    const double plain = plugin.normalizedParamToPlain(id, x);
    Require(plain >= param.Min() && plain <= param.Max(), "parameter %u: %g as plain is %g", id, x,
            plain);
    const double normalized = plugin.plainParamToNormalized(id, x);
    Require(normalized >= 0.0 && normalized <= 1.0, "parameter %u: %g normalised is %g", id, x,
            normalized);
    Shown(plugin, id, x);
}

double ReadNumber(FuzzReader& input) {
    constexpr double kSpecial[] = {std::numeric_limits<double>::quiet_NaN(),
                                   std::numeric_limits<double>::infinity(),
                                   -std::numeric_limits<double>::infinity(),
                                   -0.0,
                                   1e-310,
                                   1.0 - 1e-16,
                                   -1.0,
                                   2.0};
    if (input.Flag()) return kSpecial[input.Pick(std::size(kSpecial))];
    return input.Read<double>();
}

// The text some parameter shows for some value, or none, with characters put around it.
std::u16string ReadText(FuzzReader& input, CLS_SERIVANE& plugin) {
    std::u16string text;
    if (input.Flag()) {
        const auto other = static_cast<ParamID>(input.Pick(kNumParams));
        text = Shown(plugin, other, input.Probability());
    }
    const int added = input.Pick(161);
    for (int i = 0; i < added && input.Remaining() > 0; ++i) {
        const auto c = input.Read<char16_t>();
        if (c == 0) break;
        if (input.Flag())
            text.push_back(c);
        else
            text.insert(text.begin(), c);
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzReader input({data, size});
    FuzzInstrument instrument;
    CLS_SERIVANE& plugin = instrument.Plugin();
    while (input.Remaining() > 0) {
        const ParamID id = ReadParamId(input);
        if (input.Flag())
            RequireConversionsInRange(plugin, id, ReadNumber(input));
        else
            RequireStableText(plugin, id, ReadText(input, plugin));
    }
    return 0;
}
