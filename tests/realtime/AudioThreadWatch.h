#pragma once

// What one thread did while a watch was open on it: heap calls, and lock or wait calls on
// anything but the one mutex it may take.
struct WatchCounts {
    int allocations = 0;
    int frees = 0;
    int foreignLocks = 0;
    int allowedLocks = 0;
};

// Counts this thread's heap and lock calls from construction to destruction, adding to
// `counts`. The test binary replaces operator new and delete and is linked with the C heap
// and pthread lock functions wrapped (see CMakeLists.txt), so calls from the plug-in's code
// and from the C++ library both pass through the counters.
class AudioThreadWatch {
public:
    AudioThreadWatch(WatchCounts& counts, const void* allowedMutex);
    ~AudioThreadWatch();
    AudioThreadWatch(const AudioThreadWatch&) = delete;
    AudioThreadWatch& operator=(const AudioThreadWatch&) = delete;
};
