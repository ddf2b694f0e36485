#include "AudioThreadWatch.h"

#include <pthread.h>
#include <semaphore.h>

#include <cstdlib>
#include <new>

// The originals behind the linker's --wrap; see CMakeLists.txt for the list.
extern "C" {
void* __real_malloc(size_t size);
void* __real_calloc(size_t count, size_t size);
void* __real_realloc(void* p, size_t size);
void* __real_aligned_alloc(size_t alignment, size_t size);
int __real_posix_memalign(void** p, size_t alignment, size_t size);
void __real_free(void* p);
int __real_pthread_mutex_lock(pthread_mutex_t* m);
int __real_pthread_mutex_trylock(pthread_mutex_t* m);
int __real_pthread_mutex_timedlock(pthread_mutex_t* m, const timespec* t);
int __real_pthread_rwlock_rdlock(pthread_rwlock_t* l);
int __real_pthread_rwlock_wrlock(pthread_rwlock_t* l);
int __real_pthread_cond_wait(pthread_cond_t* c, pthread_mutex_t* m);
int __real_pthread_cond_timedwait(pthread_cond_t* c, pthread_mutex_t* m, const timespec* t);
int __real_pthread_cond_clockwait(pthread_cond_t* c, pthread_mutex_t* m, clockid_t clock,
                                  const timespec* t);
int __real_sem_wait(sem_t* s);
}

namespace {

struct Watch {
    WatchCounts* counts = nullptr;
    const void* allowedMutex = nullptr;
};

thread_local Watch watch;

void CountAllocation() {
    if (watch.counts) ++watch.counts->allocations;
}

void CountFree(void* p) {
    if (watch.counts && p) ++watch.counts->frees;
}

void CountLock(const void* m) {
    if (!watch.counts) return;
    if (m == watch.allowedMutex)
        ++watch.counts->allowedLocks;
    else
        ++watch.counts->foreignLocks;
}

void* Allocate(size_t size) {
    CountAllocation();
    if (void* p = __real_malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

void* AllocateAligned(size_t size, std::align_val_t alignment) {
    CountAllocation();
    void* p = nullptr;
    if (__real_posix_memalign(&p, static_cast<size_t>(alignment), size ? size : 1) == 0) return p;
    throw std::bad_alloc();
}

void Free(void* p) {
    CountFree(p);
    __real_free(p);
}

} // namespace

AudioThreadWatch::AudioThreadWatch(WatchCounts& counts, const void* allowedMutex) {
    watch = {&counts, allowedMutex};
}

AudioThreadWatch::~AudioThreadWatch() {
    watch = {};
}

extern "C" {
void* __wrap_malloc(size_t size) {
    CountAllocation();
    return __real_malloc(size);
}
void* __wrap_calloc(size_t count, size_t size) {
    CountAllocation();
    return __real_calloc(count, size);
}
void* __wrap_realloc(void* p, size_t size) {
    CountAllocation();
    return __real_realloc(p, size);
}
void* __wrap_aligned_alloc(size_t alignment, size_t size) {
    CountAllocation();
    return __real_aligned_alloc(alignment, size);
}
int __wrap_posix_memalign(void** p, size_t alignment, size_t size) {
    CountAllocation();
    return __real_posix_memalign(p, alignment, size);
}
void __wrap_free(void* p) {
    Free(p);
}
int __wrap_pthread_mutex_lock(pthread_mutex_t* m) {
    CountLock(m);
    return __real_pthread_mutex_lock(m);
}
int __wrap_pthread_mutex_trylock(pthread_mutex_t* m) {
    CountLock(m);
    return __real_pthread_mutex_trylock(m);
}
int __wrap_pthread_mutex_timedlock(pthread_mutex_t* m, const timespec* t) {
    CountLock(m);
    return __real_pthread_mutex_timedlock(m, t);
}
int __wrap_pthread_rwlock_rdlock(pthread_rwlock_t* l) {
    CountLock(l);
    return __real_pthread_rwlock_rdlock(l);
}
int __wrap_pthread_rwlock_wrlock(pthread_rwlock_t* l) {
    CountLock(l);
    return __real_pthread_rwlock_wrlock(l);
}
int __wrap_pthread_cond_wait(pthread_cond_t* c, pthread_mutex_t* m) {
    CountLock(c);
    return __real_pthread_cond_wait(c, m);
}
int __wrap_pthread_cond_timedwait(pthread_cond_t* c, pthread_mutex_t* m, const timespec* t) {
    CountLock(c);
    return __real_pthread_cond_timedwait(c, m, t);
}
int __wrap_pthread_cond_clockwait(pthread_cond_t* c, pthread_mutex_t* m, clockid_t clock,
                                  const timespec* t) {
    CountLock(c);
    return __real_pthread_cond_clockwait(c, m, clock, t);
}
int __wrap_sem_wait(sem_t* s) {
    CountLock(s);
    return __real_sem_wait(s);
}
}

// Replacements of the global allocation and deallocation functions.
void* operator new(size_t size) {
    return Allocate(size);
}
void* operator new[](size_t size) {
    return Allocate(size);
}
void* operator new(size_t size, std::align_val_t alignment) {
    return AllocateAligned(size, alignment);
}
void* operator new[](size_t size, std::align_val_t alignment) {
    return AllocateAligned(size, alignment);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    CountAllocation();
    return __real_malloc(size ? size : 1);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    CountAllocation();
    return __real_malloc(size ? size : 1);
}
void operator delete(void* p) noexcept {
    Free(p);
}
void operator delete[](void* p) noexcept {
    Free(p);
}
void operator delete(void* p, size_t) noexcept {
    Free(p);
}
void operator delete[](void* p, size_t) noexcept {
    Free(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    Free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    Free(p);
}
void operator delete(void* p, size_t, std::align_val_t) noexcept {
    Free(p);
}
void operator delete[](void* p, size_t, std::align_val_t) noexcept {
    Free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    Free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    Free(p);
}
