# The link's pure parts: frames, field groups, reply decoding, table order, texts.
lumaro_unit_test(link_unit_tests
    frame_tests.cpp
    masked_write_tests.cpp
    controller_record_tests.cpp
    clock_payload_tests.cpp
    controller_text_tests.cpp
    reply_fuzz_tests.cpp)

# How ARP's answers are read: SendARP's results and a neighbour table without age.
lumaro_unit_test(platform_unit_tests arp_rules_tests.cpp)

# The link's counting rules and time limits on a scripted LAN with a virtual clock.
lumaro_unit_test(link_counting_rules counting_rules_tests.cpp timer_resolution_tests.cpp)
# Both define a Reply of their own: compiled apart in a unity build.
set_source_files_properties(timer_resolution_tests.cpp PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
target_link_libraries(link_counting_rules PRIVATE lumaro_scripted_network)

# The link on the wire, against the simulator on a test LAN of its own.
include(wire_labs.cmake)
add_executable(link_wire_tests
    discovery_wire_tests.cpp command_wire_tests.cpp interface_wire_tests.cpp scale_wire_tests.cpp)
target_link_libraries(link_wire_tests PRIVATE lumaro_link lumaro_test_lan GTest::gtest_main)
foreach(lab ${wire_labs})
    lumaro_lab_test(${lab} TARGET link_wire_tests
        LAB ${wire_lab_${lab}} ARGS --gtest_filter=${wire_filter_${lab}})
endforeach()

# The link against what a LAN may do to it, native only (they need the simulator in the
# process): every command's effect on every controller's image, a chatty sender, a spray.
add_executable(link_hardening_wire_tests
    data_safety_wire_tests.cpp chatty_lan_wire_tests.cpp hostile_lan_wire_tests.cpp)
target_link_libraries(link_hardening_wire_tests PRIVATE lumaro_link lumaro_test_lan
    lumaro_controller_images GTest::gtest_main)
# Its sources name their controllers alike: compiled file by file.
set_target_properties(link_hardening_wire_tests PROPERTIES UNITY_BUILD OFF)
lumaro_lab_test(link_data_safety TARGET link_hardening_wire_tests
    ARGS --gtest_filter=DataSafetyOnTheLan.*)
lumaro_lab_test(link_with_a_chatty_sender TARGET link_hardening_wire_tests
    ARGS --gtest_filter=ChattyLan.*)
lumaro_lab_test(link_on_a_hostile_lan TARGET link_hardening_wire_tests
    ARGS --gtest_filter=HostileLan.*)

# Many searches and commands in one process (LUMARO_LONG_RUN_SEARCHES, _COMMANDS).
lumaro_lab_test(link_long_run SOURCES long_run_tests.cpp)
