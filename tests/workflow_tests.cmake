# The commands on one listed controller (workflow/): the address check alone, and the
# commands on the wire against the simulator, reached through a recording stand-in for
# the window.
lumaro_unit_test(workflow_unit_tests address_check_tests.cpp)
target_link_libraries(workflow_unit_tests PRIVATE lumaro_workflow)

lumaro_lab_test(workflow_on_the_lan SOURCES controller_commands_tests.cpp LIBS lumaro_workflow)
