#include <windows.h>
#include <objbase.h>

#include "platform/system/com_apartment.h"

namespace lumaro::platform {

ComApartment::ComApartment() {
    const HRESULT result =
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    initialised_ = SUCCEEDED(result);  // S_FALSE too: this thread had it already, counted once more
    usable_ = initialised_ || result == RPC_E_CHANGED_MODE;
}

ComApartment::~ComApartment() {
    if (initialised_) CoUninitialize();
}

}  // namespace lumaro::platform
