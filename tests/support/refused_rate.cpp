// Defines ioctl in the test program itself, which the dynamic linker prefers to the C
// library's; the real one is found behind it with RTLD_NEXT.
#include "support/refused_rate.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <dlfcn.h>

#include <atomic>
#include <cerrno>
#include <cstdarg>

namespace portprobe::testing {
namespace {

std::atomic<std::uint32_t> refusedRate = 0;

}  // namespace

RefusedRate::RefusedRate(std::uint32_t rate) { refusedRate = rate; }

RefusedRate::~RefusedRate() { refusedRate = 0; }

}  // namespace portprobe::testing

extern "C" int ioctl(int fd, unsigned long request, ...) {
  va_list arguments;
  va_start(arguments, request);
  void* argument = va_arg(arguments, void*);
  va_end(arguments);
  const std::uint32_t refused = portprobe::testing::refusedRate;
  if (refused != 0 && request == TCSETS2 && static_cast<const struct termios2*>(argument)->c_ospeed == refused) {
    errno = EINVAL;
    return -1;
  }
  using Ioctl = int (*)(int, unsigned long, ...);
  static const auto next = reinterpret_cast<Ioctl>(::dlsym(RTLD_NEXT, "ioctl"));
  return next(fd, request, argument);
}
