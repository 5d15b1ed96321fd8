#pragma once

#include "common/Result.h"

namespace vexlo {

// The result code that means what a libusb error code (LIBUSB_ERROR_...) means; Ok for 0 and for
// the positive byte counts that transfers answer with.
Result ResultFromLibusb(int error);

}  // namespace vexlo
