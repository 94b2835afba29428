#pragma once

#include "link/controller_link.h"

namespace lumaro {

// The search that every front end runs: reopen one socket per local address (the link
// restarts the socket layer around them), discover the controllers and sort them by serial.
void SearchControllers(ControllerLink& link);

// A link that works beside another, on that one's search: opens the link's own interface
// sockets as a search does and lists `table` in it without a discovery. Its next search,
// or CloseSearchedSockets, closes them again.
void OpenListingTable(ControllerLink& link, const ControllerTable& table);

// Closes the sockets that the link's last search (or OpenListingTable) opened and releases
// the link's start of the socket layer, as the next search does first and the window's
// close box does.
void CloseSearchedSockets(ControllerLink& link);

// OpenListingTable for as long as it lives: the link's sockets close when it goes.
class ListingTableOpen {
public:
    ListingTableOpen(ControllerLink& link, const ControllerTable& table) : link_(link) {
        OpenListingTable(link_, table);
    }
    ~ListingTableOpen() { CloseSearchedSockets(link_); }
    ListingTableOpen(const ListingTableOpen&) = delete;
    ListingTableOpen& operator=(const ListingTableOpen&) = delete;

private:
    ControllerLink& link_;
};

}  // namespace lumaro
