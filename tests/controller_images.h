#pragma once
// Data safety: the check that an operation changed no byte of any controller's parameter
// image except those it documents, for the serial it addressed. Portable (only the image
// types of sim/simulator.h, no simulator, no test framework), so that tests of every front
// end can use it: native tests take the images from the simulator in the process
// (tests/image_watch.h); tests under Wine ask lumaro-sim for them (control command
// `images FILE`) and read them with sim::ParseImagesText (sim/controller_image.h).

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "sim/simulator.h"

namespace lumaro::testing {

// The simulator's own image types: image byte i is frame byte 20 + i.
constexpr std::size_t kImageFirstFrameByte = sim::kImageFrameOffset;
constexpr std::size_t kImageByteCount = sim::kImageBytes;

using ImageBytes = sim::ParameterImage;
using ControllerImages = std::map<std::uint32_t, ImageBytes>;  // by serial
using FrameBytes = std::set<std::size_t>;                      // frame byte numbers

// What an operation may change: for each serial it addresses, the frame bytes it writes.
// A controller that is not listed may not change at all.
using AllowedChanges = std::map<std::uint32_t, FrameBytes>;

// The frame bytes that each field group of a masked write marks, as the controllers'
// protocol documents them (deliberately not taken from the link's code).
namespace written_by {
FrameBytes NetworkGroup();          // 20-33: address, mask, gateway, UDP port
FrameBytes SettingsGroup();         // 116-118 and 120-123: web port, date format, language
FrameBytes WebOffSettingsGroup();   // 116-117 and 120-123
FrameBytes DhcpGroup();             // 150: addressing mode
FrameBytes Nothing();               // probe, read, clock, restart
}  // namespace written_by

FrameBytes Union(std::initializer_list<FrameBytes> groups);

// One line for every byte that changed where it was not allowed to, e.g.
// "controller 5151: frame byte 119 changed from 00 to 77 (not written by this operation)",
// and for every controller that appeared or went away. Empty when the images are safe.
std::vector<std::string> UnexpectedChanges(const ControllerImages& before,
                                           const ControllerImages& after,
                                           const AllowedChanges& allowed);

}  // namespace lumaro::testing
