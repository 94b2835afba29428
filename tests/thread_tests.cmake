# The tests of every thread handoff, built and run under ThreadSanitizer (the tree of
# scripts/build.sh linux-tsan, a part of scripts/test.sh's suite as tsan.NAME). ThreadSanitizer
# sees a race only where both accesses ran, so these are the tests that run each handoff of
# the product's threads:
#   - the simulator's service thread and its callers (start, the state and the log under its
#     lock, behaviour changes that close and reopen sockets, sends handed over, the wait for
#     quiet, the spray, the end): the simulator's own tests on the wire;
#   - the web-port probe's worker, ending within the wait and outliving it, and ARP asked
#     from several threads at once, on the wire and through the neighbour table: the
#     one-click's platform tests;
#   - tasks side by side with their spacing, holds and end notes, the address claims, and
#     the plan's ARP asks side by side: the batch's unit tests and the plan's;
#   - the whole batch on the test LAN (lanes with sockets of their own, real ARP from every
#     run, the list as runs end, the simulator under a spray): the batch's wire tests.
# Every test here is also one of the native suite's (build/linux-asan): the same sources.

# ThreadSanitizer's report ends the program with status 66, which fails the test.
set(thread_sanitizer_options "TSAN_OPTIONS=second_deadlock_stack=1 history_size=4")

add_executable(thread_unit_tests workflow/side_by_side_tests.cpp workflow/address_claims_tests.cpp
    workflow/web_enable_plan_tests.cpp)
target_link_libraries(thread_unit_tests PRIVATE lumaro_workflow GTest::gtest_main)
add_test(NAME tsan.batch_pieces COMMAND thread_unit_tests)

add_executable(thread_wire_tests sim_lan_test.cpp workflow/platform_wire_tests.cpp
    workflow/batch_wire_tests.cpp controller_images.cpp)
target_link_libraries(thread_wire_tests PRIVATE lumaro_workflow lumaro_test_lan
    GTest::gtest_main)

lumaro_lab_test(tsan.simulator TARGET thread_wire_tests
    LAB --segments 2 --pc 0:10.0.1.1/24 --pc 1:10.0.2.1/24 ARGS --gtest_filter=SimLan.*)
lumaro_lab_test(tsan.probe_and_arp TARGET thread_wire_tests
    ARGS --gtest_filter=FacilitiesOnTheLan.Probe*:WebPortProbeWorker.*:BothWays/ArpOnTheLan.AddressesAskedAtOnce*)
lumaro_lab_test(tsan.batch_side_by_side TARGET thread_wire_tests
    ARGS --gtest_filter=BatchOnTheLan.* SHARDS 2)

set_property(TEST tsan.batch_pieces tsan.simulator tsan.probe_and_arp tsan.batch_side_by_side.0
    tsan.batch_side_by_side.1 APPEND PROPERTY ENVIRONMENT ${thread_sanitizer_options})
set_property(TEST tsan.batch_pieces tsan.simulator tsan.probe_and_arp tsan.batch_side_by_side.0
    tsan.batch_side_by_side.1 APPEND PROPERTY LABELS tsan)
# The longest start first when every suite runs as one (scripts/test.sh).
set_tests_properties(tsan.batch_side_by_side.0 tsan.batch_side_by_side.1 PROPERTIES COST 45)
set_tests_properties(tsan.simulator PROPERTIES COST 30)
