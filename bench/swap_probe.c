/* LD_PRELOAD probe for bench/renderer.sh: times a GLUT program from the outside, so the
 * product carries no instrumentation. Wraps glutSwapBuffers (and glXSwapBuffers, for the
 * renderer in a host's window) and reports
 *   first_swap_ms  time from QUORLANE_BENCH_T0_NS (CLOCK_REALTIME, set by the launcher) to
 *                  the end of the first swap;
 *   cpu_ms_per_frame, wall_ms_per_frame  over QUORLANE_BENCH_FRAMES frames after
 *                  QUORLANE_BENCH_WARMUP frames (process CPU time: all threads, llvmpipe's too);
 * as "key value" lines appended to QUORLANE_BENCH_OUT, then ends the process with code 0.
 * With QUORLANE_BENCH_FRAMES=0 it ends right after the first swap; with
 * QUORLANE_BENCH_KEEP_RUNNING=1 it goes on after its report (several renderers of one show,
 * the first to end would end the show for the others).
 *   first_swap_cpu_ms  the process's CPU time (all threads) up to then: the same start
 *                  without the waiting a busy machine adds;
 * Preloaded into the shell, it also wraps fork and execve and reports
 *   renderer_exec_ms  time from QUORLANE_BENCH_T0_NS to the exec of Quorlane.dll: the
 *                  shell's own part of a show's start;
 *   shell_cpu_ms   the shell's CPU time when it forks the renderer. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static double nowMs(clockid_t clock) {
    struct timespec ts;
    clock_gettime(clock, &ts);
    return (double)ts.tv_sec * 1e3 + (double)ts.tv_nsec / 1e6;
}

static long envLong(const char* name, long fallback) {
    const char* value = getenv(name);
    return value != NULL && *value != '\0' ? strtol(value, NULL, 10) : fallback;
}

static void report(const char* key, double value) {
    const char* path = getenv("QUORLANE_BENCH_OUT");
    FILE* out = path != NULL ? fopen(path, "a") : stderr;
    if (out == NULL) return;
    fprintf(out, "%s %.3f\n", key, value);
    if (out != stderr) fclose(out);
}

/* One swap done: counts it and reports. */
static void swapped(void) {
    static long frames;
    static double cpuStart, wallStart;
    ++frames;

    const long warmup = envLong("QUORLANE_BENCH_WARMUP", 30);
    const long measured = envLong("QUORLANE_BENCH_FRAMES", 150);
    if (frames == 1) {
        const char* t0 = getenv("QUORLANE_BENCH_T0_NS");
        if (t0 != NULL) {
            report("first_swap_ms", nowMs(CLOCK_REALTIME) - (double)strtoll(t0, NULL, 10) / 1e6);
            report("first_swap_cpu_ms", nowMs(CLOCK_PROCESS_CPUTIME_ID));
        }
        if (measured <= 0) _exit(0);
    }
    if (frames == warmup) {
        cpuStart = nowMs(CLOCK_PROCESS_CPUTIME_ID);
        wallStart = nowMs(CLOCK_MONOTONIC);
    } else if (frames == warmup + measured) {
        report("cpu_ms_per_frame", (nowMs(CLOCK_PROCESS_CPUTIME_ID) - cpuStart) / (double)measured);
        report("wall_ms_per_frame", (nowMs(CLOCK_MONOTONIC) - wallStart) / (double)measured);
        if (envLong("QUORLANE_BENCH_KEEP_RUNNING", 0) == 0) _exit(0);
    }
}

static int insideGlut; /* GLUT swaps through GLX: count its swap once */

void glutSwapBuffers(void) {
    static void (*realSwap)(void);
    if (realSwap == NULL) realSwap = (void (*)(void))dlsym(RTLD_NEXT, "glutSwapBuffers");
    insideGlut = 1;
    realSwap();
    insideGlut = 0;
    swapped();
}

/* The renderer in a host's window swaps with GLX itself. */
void glXSwapBuffers(void* display, unsigned long drawable) {
    static void (*realSwap)(void*, unsigned long);
    if (realSwap == NULL)
        realSwap = (void (*)(void*, unsigned long))dlsym(RTLD_NEXT, "glXSwapBuffers");
    realSwap(display, drawable);
    if (!insideGlut) swapped();
}

pid_t fork(void) {
    static pid_t (*realFork)(void);
    static int forks;
    if (realFork == NULL) realFork = (pid_t(*)(void))dlsym(RTLD_NEXT, "fork");
    if (forks++ == 0 && getenv("QUORLANE_BENCH_T0_NS") != NULL)
        report("shell_cpu_ms", nowMs(CLOCK_PROCESS_CPUTIME_ID));
    return realFork();
}

/* Runs in the shell's child between fork and exec: only async-signal-safe calls. */
int execve(const char* path, char* const argv[], char* const envp[]) {
    static int (*realExecve)(const char*, char* const[], char* const[]);
    if (realExecve == NULL)
        realExecve = (int (*)(const char*, char* const[], char* const[]))dlsym(RTLD_NEXT, "execve");
    const size_t length = strlen(path);
    const char* t0 = getenv("QUORLANE_BENCH_T0_NS");
    const char* out = getenv("QUORLANE_BENCH_OUT");
    if (length >= 12 && strcmp(path + length - 12, "Quorlane.dll") == 0 && t0 != NULL &&
        out != NULL) {
        struct timespec ts;
        clock_gettime(CLOCK_REALTIME, &ts);
        long long start = 0;
        for (const char* c = t0; *c >= '0' && *c <= '9'; ++c) start = start * 10 + (*c - '0');
        long long micros = ((long long)ts.tv_sec * 1000000000LL + ts.tv_nsec - start) / 1000;
        char line[64] = "renderer_exec_ms ";
        char digits[24];
        int n = 0;
        do {
            digits[n++] = (char)('0' + micros % 10);
            micros /= 10;
        } while (micros > 0 && n < 20);
        size_t at = strlen(line);
        while (n < 4) digits[n++] = '0'; /* at least "0.000" */
        for (int i = n - 1; i >= 0; --i) {
            line[at++] = digits[i];
            if (i == 3) line[at++] = '.';
        }
        line[at++] = '\n';
        const int fd = open(out, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ssize_t ignored = write(fd, line, at);
            (void)ignored;
            close(fd);
        }
    }
    return realExecve(path, argv, envp);
}
