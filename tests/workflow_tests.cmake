# The one-click web enable: every way through on the wire, the decisions between the ways
# with a fake environment, and the platform pieces it uses (ARP, the TCP attempt, the
# browser) on the test LAN.
add_executable(one_click_wire_tests workflow/one_click_wire_tests.cpp)
target_link_libraries(one_click_wire_tests PRIVATE lumaro_workflow lumaro_sim GTest::gtest_main)
lumaro_lab_test(one_click_ways TARGET one_click_wire_tests)
