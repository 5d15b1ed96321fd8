#include "platform/linux/LibusbResult.h"

#include <libusb.h>

namespace vexlo {

Result ResultFromLibusb(int error) {
  if (error >= 0) return Result::Ok;
  switch (error) {
    case LIBUSB_ERROR_IO: return Result::IoDevice;
    case LIBUSB_ERROR_INVALID_PARAM: return Result::InvalidParameter;
    case LIBUSB_ERROR_ACCESS: return Result::AccessDenied;
    case LIBUSB_ERROR_NO_DEVICE: return Result::DeviceNotConnected;
    case LIBUSB_ERROR_NOT_FOUND: return Result::NoSuchDevice;
    case LIBUSB_ERROR_BUSY: return Result::Busy;
    case LIBUSB_ERROR_TIMEOUT: return Result::Timeout;
    case LIBUSB_ERROR_OVERFLOW: return Result::InsufficientBuffer;
    // A stalled control pipe: the device refused the request, as a driver reports it.
    case LIBUSB_ERROR_PIPE: return Result::GeneralFailure;
    case LIBUSB_ERROR_INTERRUPTED: return Result::OperationAborted;
    case LIBUSB_ERROR_NO_MEM: return Result::NotEnoughMemory;
    case LIBUSB_ERROR_NOT_SUPPORTED: return Result::InvalidFunction;
    default: return Result::GeneralFailure;
  }
}

}  // namespace vexlo
