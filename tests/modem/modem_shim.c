// Plays a serial driver's modem lines on pseudo-terminal slaves, which have none.
// Preloaded into the test process, it answers TIOCMGET, TIOCMSET, TIOCMBIS and
// TIOCMBIC from lines kept here and records breaks (TIOCSBRK, TIOCCBRK); every other
// call goes to the real ioctl. The test plays the device through the functions at
// the end, which it looks up with dlsym.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <pthread.h>
#include <stdarg.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <time.h>

typedef int (*IoctlFunction)(int, unsigned long, ...);

static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
static int enabled = 1;  // 0: pseudo-terminals answer as they do without the shim
static int lines;        // TIOCM_* bits: RTS and DTR set by the terminal, the rest by the test
static int breaks;       // breaks begun
// The last break: when it began and how long it lasted, -1 while it lasts.
static long long breakBegan, breakNanoseconds;

static long long Now(void) {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000000000LL + now.tv_nsec;
}

// Unix 98 pseudo-terminal slaves have majors 136 to 143.
static int IsPseudoTerminalSlave(int fd) {
  struct stat status;
  if (fstat(fd, &status) != 0 || !S_ISCHR(status.st_mode)) return 0;
  const unsigned int major_number = major(status.st_rdev);
  return major_number >= 136 && major_number <= 143;
}

static void SetOutputs(int set, int clear) {
  const int outputs = TIOCM_RTS | TIOCM_DTR;
  lines = (lines | (set & outputs)) & ~(clear & outputs);
}

// Handles a modem-line call on a slave; 0 when it is not one.
static int HandleModemCall(unsigned long request, void* argument) {
  int* bits = argument;
  switch (request) {
    case TIOCMGET:
      if (!enabled) return 0;
      *bits = lines;
      return 1;
    case TIOCMSET:
      if (!enabled) return 0;
      SetOutputs(*bits, ~*bits);
      return 1;
    case TIOCMBIS:
      if (!enabled) return 0;
      SetOutputs(*bits, 0);
      return 1;
    case TIOCMBIC:
      if (!enabled) return 0;
      SetOutputs(0, *bits);
      return 1;
    case TIOCSBRK:
      ++breaks;
      breakBegan = Now();
      breakNanoseconds = -1;
      return 0;  // the real call follows
    case TIOCCBRK:
      if (breakNanoseconds < 0) breakNanoseconds = Now() - breakBegan;
      return 0;
    default:
      return 0;
  }
}

static IoctlFunction realIoctl;
static pthread_once_t realFound = PTHREAD_ONCE_INIT;

static void FindRealIoctl(void) { realIoctl = (IoctlFunction)dlsym(RTLD_NEXT, "ioctl"); }

int ioctl(int fd, unsigned long request, ...) {
  va_list arguments;
  va_start(arguments, request);
  void* argument = va_arg(arguments, void*);
  va_end(arguments);
  switch (request) {
    case TIOCMGET:
    case TIOCMSET:
    case TIOCMBIS:
    case TIOCMBIC:
    case TIOCSBRK:
    case TIOCCBRK:
      if (IsPseudoTerminalSlave(fd)) {
        pthread_mutex_lock(&lock);
        const int handled = HandleModemCall(request, argument);
        pthread_mutex_unlock(&lock);
        if (handled) return 0;
      }
      break;
    default:
      break;
  }
  pthread_once(&realFound, FindRealIoctl);
  return realIoctl(fd, request, argument);
}

// The test's side.

void modem_shim_reset(int enable) {
  pthread_mutex_lock(&lock);
  enabled = enable;
  lines = 0;
  breaks = 0;
  breakBegan = breakNanoseconds = 0;
  pthread_mutex_unlock(&lock);
}

// The device raises and drops the lines it drives (CTS, DSR, RI, CD).
void modem_shim_set_device_lines(int bits) {
  pthread_mutex_lock(&lock);
  lines = (lines & (TIOCM_RTS | TIOCM_DTR)) | (bits & ~(TIOCM_RTS | TIOCM_DTR));
  pthread_mutex_unlock(&lock);
}

int modem_shim_lines(void) {
  pthread_mutex_lock(&lock);
  const int current = lines;
  pthread_mutex_unlock(&lock);
  return current;
}

// The count of breaks begun and how long the last one lasted (-1 while it lasts).
int modem_shim_breaks(long long* lastNanoseconds) {
  pthread_mutex_lock(&lock);
  const int count = breaks;
  *lastNanoseconds = breakNanoseconds;
  pthread_mutex_unlock(&lock);
  return count;
}
