# How ctest runs the native tests side by side with the Windows and fuzz suites
# (scripts/test.sh runs the three builds' tests as one suite).
#
# Tests that send or receive a burst of hundreds of replies take turns: every network
# namespace's packets pass through the same per-CPU queue of received packets (1000 by
# default), so two bursts at once could overflow it and the count of replies would measure
# the neighbour, not the link.
# Taken one after another they make the suite's longest chain (about three minutes with the
# Windows ones and bench_smoke), so they start before anything else.
set_tests_properties(scale_on_one_segment scale_behind_four_interfaces sim_load_test
    link_with_a_chatty_sender link_on_a_hostile_lan
    PROPERTIES RESOURCE_LOCK receive_queue COST 1000)

# The longest tests start first, so that they are not the ones left running at the end
# (figures in seconds, measured alone; ctest prefers its own record once it has one).
set_tests_properties(cli_batch_under_wine cli_on_the_lan.0 cli_on_the_lan.1 PROPERTIES COST 65)
set_tests_properties(cli_enable_web_under_wine.0 cli_enable_web_under_wine.1 cli_batch.0
    cli_batch.1 PROPERTIES COST 45)
set_tests_properties(one_click_ways.0 one_click_ways.1 PROPERTIES COST 35)
set_tests_properties(batch_side_by_side.0 batch_side_by_side.1 PROPERTIES COST 30)

# A developer's fast loop (scripts/test.sh --quick): every table of cases, and the wire
# tests that answer in seconds.
set_property(TEST console_docs link_on_two_interfaces_of_one_segment link_on_two_segments
    link_on_many_addresses link_data_safety sim_program_test cli_doctor cli_doctor_loopback_only
    scale_behind_four_interfaces
    APPEND PROPERTY LABELS quick)
