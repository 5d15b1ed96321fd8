#include "device/SplitProbe.h"

#include <string>
#include <vector>

#include "common/Text.h"
#include "device/DriverInterface.h"
#include "device/HidCollection.h"
#include "device/HidPath.h"

namespace vexlo {

bool IsSplitInstanceId(std::string_view instanceId) {
  return instanceId.size() >= 2 && !ContainsNoCase(instanceId.substr(2), "MI_");
}

int SplitProbe(HidEnumerator& enumerator, DeviceIo& io) {
  std::vector<std::string> paths;
  if (EnumerateHidPaths(enumerator, paths) != Result::Ok) return 0;
  HidCollection collection(io, enumerator);
  for (const std::string& path : paths) {
    if (!PathNamesDevice(path, kMouseVendorId, kMouseProductId)) continue;
    if (collection.OpenPath(path, /*write=*/false, /*overlapped=*/true) != Result::Ok) continue;
    const bool consumerControl = collection.Attributes().vendorId == kMouseVendorId &&
                                 collection.Attributes().productId == kMouseProductId &&
                                 collection.Capabilities().usagePage == kConsumerUsagePage &&
                                 collection.Capabilities().usage == kConsumerControlUsage;
    // A resolution that stops half-way still gives the collection's own instance ID.
    if (consumerControl) (void)collection.ResolveDeviceNode();
    const bool split = consumerControl && IsSplitInstanceId(collection.CollectionInstanceId());
    collection.Close();
    if (split) return 1;
  }
  return 0;
}

}  // namespace vexlo
