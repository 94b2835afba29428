# The labs of the link's wire tests, shared by the native tests (tests/link_tests.cmake) and
# the same tests built for Windows under Wine (tests/windows/CMakeLists.txt): for each name
# in link_wire_labs, link_wire_lab_<name> holds its lab.sh options and
# link_wire_filter_<name> its GoogleTest filter.
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

set(link_wire_labs one_interface two_interfaces_of_one_segment two_segments many_addresses)
set(link_wire_lab_one_interface "")
set(link_wire_filter_one_interface
    "DiscoveryOnOneInterface.*:CommandsOnTheLan.*:InterfacesOfAGivenTable.*:InterfaceSocketBuffer.*")
set(link_wire_lab_two_interfaces_of_one_segment --pc 0:10.0.1.1/24 --pc 0:10.0.2.1/24)
set(link_wire_filter_two_interfaces_of_one_segment "DiscoveryOnTwoInterfacesOfOneSegment.*")
set(link_wire_lab_two_segments --segments 2 --pc 0:10.0.1.1/24 --pc 1:10.0.2.1/24)
set(link_wire_filter_two_segments "DiscoveryOnTwoSegments.*")
set(link_wire_lab_many_addresses --pc 0:${many_addresses} ${many_loopback_addresses})
set(link_wire_filter_many_addresses "InterfacesOfManyAddresses.*")
