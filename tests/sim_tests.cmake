# The controller simulator's own tests: the simulated LAN on the wire, many controllers
# at once, the lumaro-sim program, and its text formats.

lumaro_lab_test(sim_lan_test
    SOURCES sim_lan_test.cpp
    LAB --segments 2 --pc 0:10.0.1.1/24 --pc 1:10.0.2.1/24)

lumaro_lab_test(sim_load_test
    SOURCES sim_load_test.cpp
    LAB --pc 0:10.1.0.1/16)

lumaro_lab_test(sim_program_test
    SOURCES sim_program_test.cpp
    LAB --segments 2 --pc 0:10.0.1.1/24 --pc 1:10.0.2.1/24)
target_compile_definitions(sim_program_test PRIVATE LUMARO_SIM_PROGRAM="$<TARGET_FILE:lumaro-sim>")
add_dependencies(sim_program_test lumaro-sim)

lumaro_unit_test(sim_config_test sim_config_test.cpp sim_spray_test.cpp
    sim_control_commands_test.cpp)
target_link_libraries(sim_config_test PRIVATE lumaro_sim)
