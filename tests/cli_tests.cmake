# The console front end as a program, on a test LAN: the native one, and the Windows one
# of the cross-compiled build under Wine when that build exists.
set(LUMARO_WINDOWS_CLI "${PROJECT_SOURCE_DIR}/build/windows/cli/lumaro-cli.exe"
    CACHE FILEPATH "lumaro-cli.exe of the Windows build, tested under Wine")

# lumaro_console_test(NAME SOURCE [LAB ...] [ARGS ...]): lumaro_lab_test's options follow.
function(lumaro_console_test name source)
    lumaro_lab_test(${name} SOURCES ${source} LIBS lumaro_json ${ARGN})
    target_compile_definitions(${name} PRIVATE
        LUMARO_CLI_PATH="$<TARGET_FILE:lumaro-cli>"
        LUMARO_WINDOWS_CLI_PATH="${LUMARO_WINDOWS_CLI}"
        LUMARO_WINE_RUN="${PROJECT_SOURCE_DIR}/scripts/wine-run.sh")
    add_dependencies(${name} lumaro-cli)
endfunction()

lumaro_console_test(cli_on_the_lan cli_tests.cpp SHARDS 2)
# Native and under Wine apart, so that the Wine half's many program starts run beside the rest.
lumaro_console_test(cli_enable_web cli_enable_web_tests.cpp ARGS --gtest_filter=-*/windows)
lumaro_lab_test(cli_enable_web_under_wine TARGET cli_enable_web ARGS --gtest_filter=*/windows
    SHARDS 2)

# Commissioning a site: the batch (native; its Wine half as a test of its own, so that the two
# run side by side), the output formats on the demo LAN, and the doctor in two labs.
lumaro_console_test(cli_batch cli_batch_tests.cpp lumaro_controller_images
    ARGS --gtest_filter=-*/windows SHARDS 2)
lumaro_lab_test(cli_batch_under_wine TARGET cli_batch ARGS --gtest_filter=*/windows)
lumaro_console_test(cli_formats cli_format_tests.cpp)
target_compile_definitions(cli_formats PRIVATE
    LUMARO_DEMO_LAN="${PROJECT_SOURCE_DIR}/scripts/demo-lan.conf")
lumaro_console_test(cli_doctor cli_doctor_tests.cpp
    LAB --segments 2 --pc 0:10.0.1.1/24 --pc 1:10.0.2.1/24
    ARGS --gtest_filter=*TwoInterfaces*)
lumaro_lab_test(cli_doctor_loopback_only TARGET cli_doctor LAB --no-pc
    ARGS --gtest_filter=*OnlyLoopback*)

# What the console prints, without a LAN.
lumaro_unit_test(console_unit_tests cli/record_table_tests.cpp cli/doctor_report_tests.cpp
    cli/console_language_tests.cpp cli/confirmation_tests.cpp
    cli/firewall_verdict_tests.cpp)
target_link_libraries(console_unit_tests PRIVATE lumaro_console lumaro_json)
