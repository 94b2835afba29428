# A site from its address plan (lumaro-cli apply): the plan's reader, the comparison with
# the search and the order of the writes, the verdicts and the record, without a LAN.
lumaro_unit_test(site_apply_unit_tests site_apply/plan_file_tests.cpp
    site_apply/site_apply_plan_tests.cpp site_apply/site_verdict_tests.cpp
    site_apply/commissioning_record_tests.cpp)
target_link_libraries(site_apply_unit_tests PRIVATE lumaro_workflow lumaro_console lumaro_json)
target_compile_definitions(site_apply_unit_tests PRIVATE
    LUMARO_SITE_PLANS="${CMAKE_CURRENT_SOURCE_DIR}/testdata/site-plans")
