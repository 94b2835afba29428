# A site from its address plan (lumaro-cli apply): the plan's reader, the comparison with
# the search and the order of the writes, the verdicts and the record, without a LAN.
lumaro_unit_test(site_apply_unit_tests site_apply/plan_file_tests.cpp
    site_apply/site_apply_plan_tests.cpp site_apply/site_verdict_tests.cpp
    site_apply/commissioning_record_tests.cpp)
target_link_libraries(site_apply_unit_tests PRIVATE lumaro_workflow lumaro_console lumaro_json)
target_compile_definitions(site_apply_unit_tests PRIVATE
    LUMARO_SITE_PLANS="${CMAKE_CURRENT_SOURCE_DIR}/testdata/site-plans")

# Applying a plan on the test LAN, in this process: the swap and a ring, a silent controller,
# and applying twice.
lumaro_lab_test(site_apply_on_the_lan SOURCES site_apply/site_apply_wire_tests.cpp
    LIBS lumaro_workflow lumaro_console lumaro_controller_images SHARDS 2)

# lumaro-cli apply as a program on the test LAN (native; its Wine half as a test of its own,
# so that the two run side by side).
lumaro_console_test(cli_apply site_apply/cli_apply_tests.cpp lumaro_controller_images
    ARGS --gtest_filter=-*/windows SHARDS 2)
target_compile_definitions(cli_apply PRIVATE
    LUMARO_SITE_PLANS="${CMAKE_CURRENT_SOURCE_DIR}/testdata/site-plans")
lumaro_lab_test(cli_apply_under_wine TARGET cli_apply ARGS --gtest_filter=*/windows)

# The longest start early (seconds, measured alone on the loaded 2-core machine).
set_tests_properties(cli_apply_under_wine PROPERTIES COST 45)
set_tests_properties(cli_apply.0 cli_apply.1 PROPERTIES COST 30)
set_tests_properties(site_apply_on_the_lan.0 site_apply_on_the_lan.1 PROPERTIES COST 25)
