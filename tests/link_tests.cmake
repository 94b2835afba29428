# The link's pure parts: frames, field groups, reply decoding, table order, texts.
lumaro_unit_test(link_unit_tests
    frame_tests.cpp
    masked_write_tests.cpp
    controller_record_tests.cpp
    clock_payload_tests.cpp
    controller_text_tests.cpp
    reply_fuzz_tests.cpp)

# The link's counting rules and time limits on a scripted LAN with a virtual clock.
lumaro_unit_test(link_counting_rules counting_rules_tests.cpp)
target_link_libraries(link_counting_rules PRIVATE lumaro_scripted_network)

# The link on the wire, against the simulator on a test LAN of its own.
set(many_addresses "10.0.1.1/24")
foreach(i RANGE 2 20)
    string(APPEND many_addresses ",10.0.1.${i}/24")
endforeach()

add_executable(link_wire_tests discovery_wire_tests.cpp command_wire_tests.cpp interface_wire_tests.cpp
    data_safety_wire_tests.cpp chatty_lan_wire_tests.cpp hostile_lan_wire_tests.cpp)
target_link_libraries(link_wire_tests PRIVATE lumaro_link lumaro_sim lumaro_controller_images
    GTest::gtest_main)

lumaro_lab_test(link_on_one_interface TARGET link_wire_tests
    ARGS --gtest_filter=DiscoveryOnOneInterface.*:CommandsOnTheLan.*:InterfacesOfAGivenTable.*:InterfaceSocketBuffer.*)
lumaro_lab_test(link_data_safety TARGET link_wire_tests
    ARGS --gtest_filter=DataSafetyOnTheLan.*)
lumaro_lab_test(link_with_a_chatty_sender TARGET link_wire_tests
    ARGS --gtest_filter=ChattyLan.*)
lumaro_lab_test(link_on_a_hostile_lan TARGET link_wire_tests
    ARGS --gtest_filter=HostileLan.*)
lumaro_lab_test(link_on_two_interfaces_of_one_segment TARGET link_wire_tests
    LAB --pc 0:10.0.1.1/24 --pc 0:10.0.2.1/24
    ARGS --gtest_filter=DiscoveryOnTwoInterfacesOfOneSegment.*)
lumaro_lab_test(link_on_two_segments TARGET link_wire_tests
    LAB --segments 2 --pc 0:10.0.1.1/24 --pc 1:10.0.2.1/24
    ARGS --gtest_filter=DiscoveryOnTwoSegments.*)
lumaro_lab_test(link_with_many_addresses TARGET link_wire_tests
    LAB --pc 0:${many_addresses} --lo 127.0.0.2/8
    ARGS --gtest_filter=InterfacesOfManyAddresses.*)
