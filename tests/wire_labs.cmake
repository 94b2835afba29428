# The labs of the link's wire tests, shared by the native tests (tests/link_tests.cmake) and
# the same tests built for Windows under Wine (tests/windows/CMakeLists.txt): for each name
# in wire_labs, wire_lab_<name> holds its lab.sh options and wire_filter_<name> its
# GoogleTest filter.

# 18 usable addresses: 10.0.1.1-12 on the PC's interface and 127.0.0.2-7 on its loopback.
# Linux lists the loopback first, Wine's address table last: either way 127.0.0.2 is among
# the first 16 and some address is not.
set(many_addresses "10.0.1.1/24")
foreach(i RANGE 2 12)
    string(APPEND many_addresses ",10.0.1.${i}/24")
endforeach()
set(many_loopback_addresses)
foreach(i RANGE 2 7)
    list(APPEND many_loopback_addresses --lo 127.0.0.${i}/8)
endforeach()

set(wire_labs link_on_one_interface link_on_two_interfaces_of_one_segment link_on_two_segments
    link_on_many_addresses scale_on_one_segment scale_behind_four_interfaces)
set(wire_lab_link_on_one_interface --pc 0:10.0.1.1/24)
set(wire_filter_link_on_one_interface
    "DiscoveryOnOneInterface.*:CommandsOnTheLan.*:InterfacesOfAGivenTable.*:InterfaceSocketBuffer.*:BroadcastSocketOpener.*")
set(wire_lab_link_on_two_interfaces_of_one_segment --pc 0:10.0.1.1/24 --pc 0:10.0.2.1/24)
set(wire_filter_link_on_two_interfaces_of_one_segment "DiscoveryOnTwoInterfacesOfOneSegment.*")
set(wire_lab_link_on_two_segments --segments 2 --pc 0:10.0.1.1/24 --pc 1:10.0.2.1/24)
set(wire_filter_link_on_two_segments "DiscoveryOnTwoSegments.*")
set(wire_lab_link_on_many_addresses --pc 0:${many_addresses} ${many_loopback_addresses})
set(wire_filter_link_on_many_addresses "InterfacesOfManyAddresses.*")

# Hundreds of controllers answering one search (LUMARO_SCALE_SEARCHES searches per case).
set(wire_lab_scale_on_one_segment --pc 0:10.1.0.1/16)
set(wire_filter_scale_on_one_segment "ScaleOnOneSegment.*")
set(wire_lab_scale_behind_four_interfaces
    --segments 4 --pc 0:10.1.0.1/16 --pc 1:10.2.0.1/16 --pc 2:10.3.0.1/16 --pc 3:10.4.0.1/16)
set(wire_filter_scale_behind_four_interfaces "ScaleBehindFourInterfaces.*")
