#pragma once

namespace vexlo {

// Something a backend holds for its caller (a lock, a listening endpoint) until this object is
// destroyed. The destructor releases it and never blocks for long.
class ReleaseOnDestroy {
 public:
  virtual ~ReleaseOnDestroy() = default;
};

}  // namespace vexlo
