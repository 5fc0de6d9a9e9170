// Modem lines for a pseudo-terminal, preloaded into Wine (LD_PRELOAD): a pseudo-terminal has no
// DTR, RTS, CTS, DSR or CD, and its TIOCMGET fails, upon which Wine's serial driver gives up
// waiting for events on the port. Answered here for pseudo-terminal slaves only (majors 136 to
// 143): DTR and RTS as last set, CTS, DSR and CD on. Every change of DTR or RTS is appended to
// the file WARMLOG_MODEMLINES_LOG names, as "DTR 1" or "RTS 0".
#define _GNU_SOURCE
#include <dlfcn.h>
#include <pthread.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

enum { Outputs = TIOCM_DTR | TIOCM_RTS, Inputs = TIOCM_CTS | TIOCM_DSR | TIOCM_CD };

static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
// A terminal that opens raises both, as the kernel does for a real port.
static int lines = Outputs;

static int isTerminalSlave(int fd)
{
    struct stat status;
    if (fstat(fd, &status) != 0 || !S_ISCHR(status.st_mode))
        return 0;
    const unsigned number = major(status.st_rdev);
    return number >= 136 && number <= 143;
}

static void note(int before, int after)
{
    const char *path = getenv("WARMLOG_MODEMLINES_LOG");
    FILE *log = path ? fopen(path, "a") : NULL;
    if (!log)
        return;
    if ((before ^ after) & TIOCM_DTR)
        fprintf(log, "DTR %d\n", (after & TIOCM_DTR) != 0);
    if ((before ^ after) & TIOCM_RTS)
        fprintf(log, "RTS %d\n", (after & TIOCM_RTS) != 0);
    fclose(log);
}

int ioctl(int fd, unsigned long request, ...)
{
    static int (*next)(int, unsigned long, ...);
    va_list arguments;
    va_start(arguments, request);
    void *argument = va_arg(arguments, void *);
    va_end(arguments);
    if (!next)
        next = (int (*)(int, unsigned long, ...))dlsym(RTLD_NEXT, "ioctl");
    if ((request != TIOCMGET && request != TIOCMSET && request != TIOCMBIS &&
         request != TIOCMBIC) ||
        !isTerminalSlave(fd))
        return next(fd, request, argument);

    int *bits = argument;
    pthread_mutex_lock(&lock);
    const int before = lines;
    if (request == TIOCMGET)
        *bits = lines | Inputs;
    else if (request == TIOCMSET)
        lines = *bits & Outputs;
    else if (request == TIOCMBIS)
        lines |= *bits & Outputs;
    else
        lines &= ~(*bits & Outputs);
    note(before, lines);
    pthread_mutex_unlock(&lock);
    return 0;
}
