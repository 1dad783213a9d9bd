#pragma once

#include <cstdint>

namespace portprobe::testing {

// While it lives, every attempt of this process to set the line to `rate` fails with
// EINVAL, as with an adapter whose divisor cannot make that rate; pseudo-terminals take
// any rate. It wraps ioctl for the whole test program, passing everything else on.
class RefusedRate {
 public:
  explicit RefusedRate(std::uint32_t rate);
  ~RefusedRate();
  RefusedRate(const RefusedRate&) = delete;
  RefusedRate& operator=(const RefusedRate&) = delete;
};

}  // namespace portprobe::testing
