// Threads and mutexes on pthreads.
#include <pthread.h>

#include <cstdlib>
#include <new>

#include "platform/platform.h"

struct Mutex {
    pthread_mutex_t handle;
};

namespace {
struct ThreadStart {
    ThreadBody body;
    void* argument;
};

void* thread_trampoline(void* raw) {
    ThreadStart start = *(ThreadStart*)raw;
    free(raw);
    start.body(start.argument);
    return nullptr;
}
}  // namespace

ThreadHandle thread_create(ThreadBody body, void* argument) {
    ThreadStart* start = (ThreadStart*)malloc(sizeof(ThreadStart));
    start->body = body;
    start->argument = argument;
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, (size_t)64 << 20);
    pthread_t thread;
    if (pthread_create(&thread, &attributes, thread_trampoline, start) != 0) {
        free(start);
        pthread_attr_destroy(&attributes);
        return ThreadHandle{0};
    }
    pthread_attr_destroy(&attributes);
    return ThreadHandle{(u64)thread};
}

void thread_wait(ThreadHandle thread, i64) {
    if (thread.id) pthread_join((pthread_t)thread.id, nullptr);
}

Mutex* mutex_create() {
    Mutex* m = (Mutex*)malloc(sizeof(Mutex));
    pthread_mutex_init(&m->handle, nullptr);
    return m;
}

void mutex_lock(Mutex* mutex) { pthread_mutex_lock(&mutex->handle); }
void mutex_unlock(Mutex* mutex) { pthread_mutex_unlock(&mutex->handle); }

void mutex_destroy(Mutex* mutex) {
    if (!mutex) return;
    pthread_mutex_destroy(&mutex->handle);
    free(mutex);
}
