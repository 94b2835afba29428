# The procedures on one listed controller (workflow/).
#
# The one-click web enable: every way through on the wire, the decisions between the ways
# with a fake environment, and the platform pieces it uses (ARP, the TCP attempt, the
# browser) on the test LAN.
add_executable(one_click_wire_tests workflow/one_click_wire_tests.cpp)
target_link_libraries(one_click_wire_tests PRIVATE lumaro_workflow lumaro_test_lan
    lumaro_controller_images GTest::gtest_main)
lumaro_lab_test(one_click_ways TARGET one_click_wire_tests SHARDS 2)

# The decisions run on the scripted LAN's virtual clock with the simulator's controllers: no
# socket, no namespace, no real wait.
lumaro_unit_test(one_click_decision_tests workflow/one_click_decision_tests.cpp
    scripted_controllers.cpp)
target_link_libraries(one_click_decision_tests PRIVATE lumaro_workflow lumaro_sim
    lumaro_scripted_network)

add_executable(one_click_platform_tests workflow/platform_wire_tests.cpp)
target_link_libraries(one_click_platform_tests PRIVATE lumaro_workflow lumaro_test_lan GTest::gtest_main)
lumaro_lab_test(one_click_platform TARGET one_click_platform_tests)

lumaro_unit_test(browser_tests workflow/browser_tests.cpp)

# The apply, clock and web-off commands: the address check alone, and the commands on the
# wire, reached through a stand-in for the window that records every step they ask of it.
lumaro_unit_test(workflow_unit_tests workflow/address_check_tests.cpp)
target_link_libraries(workflow_unit_tests PRIVATE lumaro_workflow)
lumaro_lab_test(workflow_commands SOURCES workflow/controller_commands_tests.cpp
    LIBS lumaro_workflow ARGS --gtest_filter=-CommandsThroughTwoPcAddresses.*)
lumaro_lab_test(workflow_commands_two_pc_addresses TARGET workflow_commands
    LAB --pc 0:10.0.1.1/24,10.0.1.2/24 ARGS --gtest_filter=CommandsThroughTwoPcAddresses.*)

lumaro_unit_test(web_enable_plan_tests workflow/web_enable_plan_tests.cpp)
target_link_libraries(web_enable_plan_tests PRIVATE lumaro_workflow)

# The batch's pieces without a LAN: tasks side by side, and the addresses held for controllers.
lumaro_unit_test(batch_unit_tests workflow/side_by_side_tests.cpp workflow/address_claims_tests.cpp)
target_link_libraries(batch_unit_tests PRIVATE lumaro_workflow)

# The batch side by side on the test LAN: a claim race with devices answering ARP at the
# planned addresses, a controller that keeps an address the list shows twice, and the spray.
lumaro_lab_test(batch_side_by_side SOURCES workflow/batch_wire_tests.cpp
    LIBS lumaro_workflow lumaro_controller_images SHARDS 2)
