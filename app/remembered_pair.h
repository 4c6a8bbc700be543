// The port pair that answered the last device search, kept by name in the user's settings so
// that the next search, of the window or of `lumo`, tries it first.
#pragma once

#include "device/device_link.h"

namespace lumo {

PortPair RememberedPair();
void RememberPair(const PortPair& pair);

} // namespace lumo
