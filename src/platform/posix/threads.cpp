// Threads and mutexes on pthreads.
#include <pthread.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <time.h>

#include <cstdlib>
#include <new>

#include "platform/platform.h"

struct Mutex {
    pthread_mutex_t handle;
};

struct Signal {
    pthread_mutex_t lock;
    pthread_cond_t condition;
    bool posted;
};

namespace {
// The main thread is the first to ask (system_init does, before any other thread starts).
pthread_t main_thread;
bool main_thread_known;

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

void thread_run_in_background() {
#if defined(__linux__)
    // On Linux a nice value belongs to the thread named by its id; a failure leaves the
    // thread as it was, which is only slower to give way.
    pid_t self = (pid_t)syscall(SYS_gettid);
    int now = getpriority(PRIO_PROCESS, (id_t)self);
    if (now < 10) setpriority(PRIO_PROCESS, (id_t)self, 10);
#endif
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

bool thread_is_main() {
    if (!main_thread_known) {
        main_thread = pthread_self();
        main_thread_known = true;
    }
    return pthread_equal(main_thread, pthread_self()) != 0;
}

Signal* signal_create() {
    Signal* s = (Signal*)malloc(sizeof(Signal));
    if (!s) return nullptr;
    pthread_mutex_init(&s->lock, nullptr);
    pthread_condattr_t attributes;
    pthread_condattr_init(&attributes);
    pthread_condattr_setclock(&attributes, CLOCK_MONOTONIC);
    pthread_cond_init(&s->condition, &attributes);
    pthread_condattr_destroy(&attributes);
    s->posted = false;
    return s;
}

void signal_post(Signal* s) {
    if (!s) return;
    pthread_mutex_lock(&s->lock);
    s->posted = true;
    pthread_cond_signal(&s->condition);
    pthread_mutex_unlock(&s->lock);
}

void signal_wait(Signal* s, i64 timeout_ms) {
    if (!s) return;
    pthread_mutex_lock(&s->lock);
    if (timeout_ms < 0) {
        while (!s->posted) pthread_cond_wait(&s->condition, &s->lock);
    } else {
        struct timespec deadline;
        clock_gettime(CLOCK_MONOTONIC, &deadline);
        deadline.tv_sec += timeout_ms / 1000;
        deadline.tv_nsec += (timeout_ms % 1000) * 1000000;
        if (deadline.tv_nsec >= 1000000000) {
            deadline.tv_sec++;
            deadline.tv_nsec -= 1000000000;
        }
        while (!s->posted)
            if (pthread_cond_timedwait(&s->condition, &s->lock, &deadline) != 0) break;
    }
    s->posted = false;
    pthread_mutex_unlock(&s->lock);
}

void signal_destroy(Signal* s) {
    if (!s) return;
    pthread_cond_destroy(&s->condition);
    pthread_mutex_destroy(&s->lock);
    free(s);
}
