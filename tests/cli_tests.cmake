# The console front end as a program, on a test LAN: the native one, and the Windows one
# of the cross-compiled build under Wine when that build exists.
set(LUMARO_WINDOWS_CLI "${PROJECT_SOURCE_DIR}/build/windows/cli/lumaro-cli.exe"
    CACHE FILEPATH "lumaro-cli.exe of the Windows build, tested under Wine")
lumaro_lab_test(cli_on_the_lan SOURCES cli_tests.cpp)
target_compile_definitions(cli_on_the_lan PRIVATE
    LUMARO_CLI_PATH="$<TARGET_FILE:lumaro-cli>"
    LUMARO_WINDOWS_CLI_PATH="${LUMARO_WINDOWS_CLI}"
    LUMARO_WINE_RUN="${PROJECT_SOURCE_DIR}/scripts/wine-run.sh")
add_dependencies(cli_on_the_lan lumaro-cli)

lumaro_lab_test(cli_enable_web SOURCES cli_enable_web_tests.cpp)
target_compile_definitions(cli_enable_web PRIVATE
    LUMARO_CLI_PATH="$<TARGET_FILE:lumaro-cli>"
    LUMARO_WINDOWS_CLI_PATH="${LUMARO_WINDOWS_CLI}"
    LUMARO_WINE_RUN="${PROJECT_SOURCE_DIR}/scripts/wine-run.sh")
add_dependencies(cli_enable_web lumaro-cli)
