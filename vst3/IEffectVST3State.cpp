#include "vst3/IEffectVST3.h"

#include "pluginterfaces/base/ibstream.h"

#include <algorithm>
#include <cstdint>

// The state the host keeps in its project: the parameter values as the framework encodes them.
// The component carries it; the controller's own state is empty.

using namespace Steinberg;

namespace {

constexpr int32 kReadPiece = 128;

// Reads the stream in small pieces until it ends or the size bound is reached. A read that
// reports an error ends it, unless the host is known to report errors on reads that delivered.
void ReadStream(IBStream& stream, IStateChunk& chunk, bool keepErroneousReads) {
    uint8_t piece[kReadPiece];
    while (chunk.Size() < IEffectVST3::kMaxStateBytes) {
        const int32 wanted = std::min(kReadPiece, IEffectVST3::kMaxStateBytes - chunk.Size());
        int32 got = 0;
        const tresult result = stream.read(piece, wanted, &got);
        got = std::clamp(got, 0, wanted);
        if (got == 0 || (result != kResultOk && !keepErroneousReads)) return;
        if (!chunk.PutBytes(piece, got)) return;
    }
}

} // namespace

tresult IEffectVST3::SaveComponentState(IBStream* state) {
    if (!state) return kInvalidArgument;
    IStateChunk chunk;
    if (!WriteState(chunk)) {
        int32 bypassed = Bypassed() ? 1 : 0;
        state->write(&bypassed, sizeof bypassed, nullptr);
        return kResultFalse;
    }
    int32 written = 0;
    const tresult result = state->write(const_cast<uint8_t*>(chunk.Data()), chunk.Size(), &written);
    return result == kResultOk && written == chunk.Size() ? kResultOk : kResultFalse;
}

// Whatever arrives is applied as far as it goes. Only a complete state answers kResultOk; the
// stream is then left just after it, as the trailing read expects. The host hears of the new
// values once the mutex is released.
tresult IEffectVST3::RestoreComponentState(IBStream* state) {
    if (!state) return kInvalidArgument;
    IStateChunk chunk;
    ReadStream(*state, chunk, GetHostId() == kHostWaveLab);
    tresult result = kResultFalse;
    {
        std::lock_guard lock(Mutex());
        const int pos = ReadState(chunk, 0);
        RefreshEditorControls();
        notifications_.FlagParamValues();
        if (pos >= 0) {
            int32 trailing = 0;
            state->seek(pos, IBStream::kIBSeekSet, nullptr);
            if (state->read(&trailing, sizeof trailing, nullptr) == kResultOk) result = kResultOk;
        }
    }
    DeliverHostNotifications();
    return result;
}

// Waits out a running block like every state call, and carries no data.
tresult IEffectVST3::RestoreControllerState(IBStream*) {
    std::lock_guard lock(Mutex());
    return kResultOk;
}

tresult IEffectVST3::SaveControllerState(IBStream*) {
    std::lock_guard lock(Mutex());
    return kResultOk;
}
