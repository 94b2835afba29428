#pragma once
// COM for the calling thread, for as long as the object lives: apartment-threaded and without
// OLE1 DDE, as Windows asks of a thread before it hands an address to the shell
// (ShellExecuteW may delegate to shell extensions that need such an apartment) or uses COM
// objects (the firewall's). Nothing to do on other systems.

namespace lumaro::platform {

class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    // COM can be used on this thread: initialised here, or earlier in another mode.
    bool Usable() const { return usable_; }

private:
    bool usable_ = false;
    bool initialised_ = false;  // this object must release its initialisation
};

}  // namespace lumaro::platform
