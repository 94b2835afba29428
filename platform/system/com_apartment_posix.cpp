#include "platform/system/com_apartment.h"

namespace lumaro::platform {

// No COM here: the browser is started without it.
ComApartment::ComApartment() : usable_(true), initialised_(false) {}

// Nothing was initialised, so nothing is released.
ComApartment::~ComApartment() { static_cast<void>(initialised_); }

}  // namespace lumaro::platform
