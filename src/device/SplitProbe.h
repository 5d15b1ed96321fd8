#pragma once

#include <string_view>

#include "platform/ports/DeviceIo.h"
#include "platform/ports/HidEnumerator.h"

namespace vexlo {

// True when a collection's device instance ID names no interface of a composite USB device: no
// "MI_" (any case) from its third character on.
bool IsSplitInstanceId(std::string_view instanceId);

// 1 when the mouse's consumer-control collection is not an interface of a composite USB device
// (the split variant of the filter drivers serves such a mouse), else 0, also when there is no
// such collection or the interfaces cannot be listed. Opens each candidate for reading with a
// collection of its own and closes it again. Any thread.
int SplitProbe(HidEnumerator& enumerator, DeviceIo& io);

}  // namespace vexlo
