#include "platform/com_apartment.h"

namespace lumaro::platform {

// No COM here: the browser is started without it.
ComApartment::ComApartment() : usable_(true) {}

ComApartment::~ComApartment() = default;

}  // namespace lumaro::platform
