# The console front end as a program, on a test LAN: the native one, and the Windows one
# of the cross-compiled build under Wine when that build exists.
set(LUMARO_WINDOWS_CLI "${PROJECT_SOURCE_DIR}/build/windows/cli/lumaro-cli.exe"
    CACHE FILEPATH "lumaro-cli.exe of the Windows build, tested under Wine")

function(lumaro_console_test name source)
    lumaro_lab_test(${name} SOURCES ${source})
    target_compile_definitions(${name} PRIVATE
        LUMARO_CLI_PATH="$<TARGET_FILE:lumaro-cli>"
        LUMARO_WINDOWS_CLI_PATH="${LUMARO_WINDOWS_CLI}"
        LUMARO_WINE_RUN="${PROJECT_SOURCE_DIR}/scripts/wine-run.sh")
    add_dependencies(${name} lumaro-cli)
endfunction()

lumaro_console_test(cli_on_the_lan cli_tests.cpp)
lumaro_console_test(cli_enable_web cli_enable_web_tests.cpp)
