# The console front end as a program, on a test LAN.
lumaro_lab_test(cli_on_the_lan SOURCES cli_tests.cpp)
target_compile_definitions(cli_on_the_lan PRIVATE LUMARO_CLI_PATH="$<TARGET_FILE:lumaro-cli>")
add_dependencies(cli_on_the_lan lumaro-cli)
