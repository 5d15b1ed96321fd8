#include "common/Result.h"

#include <cerrno>

namespace vexlo {

Result ResultFromErrno(int error) {
  switch (error) {
    case 0: return Result::Ok;
    case ENOENT: return Result::FileNotFound;
    case ENOTDIR: return Result::PathNotFound;
    case EACCES:
    case EPERM: return Result::AccessDenied;
    case ENOMEM: return Result::NotEnoughMemory;
    case EROFS: return Result::WriteProtected;
    case ENOSPC:
    case EDQUOT: return Result::DiskFull;
    case EIO: return Result::IoDevice;
    case EEXIST: return Result::AlreadyExists;
    case ENAMETOOLONG: return Result::FilenameTooLong;
    case EFBIG: return Result::FileTooLarge;
    case ELOOP: return Result::CantResolveFilename;
    case EINVAL: return Result::InvalidParameter;
    case EBUSY:
    case EAGAIN: return Result::Busy;
    case ETIMEDOUT: return Result::Timeout;
    case ECANCELED: return Result::OperationAborted;
    case ENODEV:
    case ENXIO: return Result::DeviceNotConnected;
    case ECONNREFUSED: return Result::ConnectionRefused;
    default: return Result::GeneralFailure;
  }
}

}  // namespace vexlo
