/* LD_PRELOAD probe for bench/renderer.sh: times a GLUT program from the outside, so the
 * product carries no instrumentation. Wraps glutSwapBuffers and reports
 *   first_swap_ms  time from QUORLANE_BENCH_T0_NS (CLOCK_REALTIME, set by the launcher) to
 *                  the end of the first swap;
 *   cpu_ms_per_frame, wall_ms_per_frame  over QUORLANE_BENCH_FRAMES frames after
 *                  QUORLANE_BENCH_WARMUP frames (process CPU time: all threads, llvmpipe's too);
 * as "key value" lines appended to QUORLANE_BENCH_OUT, then ends the process with code 0.
 * With QUORLANE_BENCH_FRAMES=0 it ends right after the first swap. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

static double nowMs(clockid_t clock)
{
    struct timespec ts;
    clock_gettime(clock, &ts);
    return (double)ts.tv_sec * 1e3 + (double)ts.tv_nsec / 1e6;
}

static long envLong(const char* name, long fallback)
{
    const char* value = getenv(name);
    return value != NULL && *value != '\0' ? strtol(value, NULL, 10) : fallback;
}

static void report(const char* key, double value)
{
    const char* path = getenv("QUORLANE_BENCH_OUT");
    FILE* out = path != NULL ? fopen(path, "a") : stderr;
    if (out == NULL)
        return;
    fprintf(out, "%s %.3f\n", key, value);
    if (out != stderr)
        fclose(out);
}

void glutSwapBuffers(void)
{
    static void (*realSwap)(void);
    static long frames;
    static double cpuStart, wallStart;
    if (realSwap == NULL)
        realSwap = (void (*)(void))dlsym(RTLD_NEXT, "glutSwapBuffers");
    realSwap();
    ++frames;

    const long warmup = envLong("QUORLANE_BENCH_WARMUP", 30);
    const long measured = envLong("QUORLANE_BENCH_FRAMES", 150);
    if (frames == 1) {
        const char* t0 = getenv("QUORLANE_BENCH_T0_NS");
        if (t0 != NULL)
            report("first_swap_ms", nowMs(CLOCK_REALTIME) - (double)strtoll(t0, NULL, 10) / 1e6);
        if (measured <= 0)
            _exit(0);
    }
    if (frames == warmup) {
        cpuStart = nowMs(CLOCK_PROCESS_CPUTIME_ID);
        wallStart = nowMs(CLOCK_MONOTONIC);
    } else if (frames == warmup + measured) {
        report("cpu_ms_per_frame", (nowMs(CLOCK_PROCESS_CPUTIME_ID) - cpuStart) / (double)measured);
        report("wall_ms_per_frame", (nowMs(CLOCK_MONOTONIC) - wallStart) / (double)measured);
        _exit(0);
    }
}
