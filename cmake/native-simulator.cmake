# The native lumaro-sim of a Linux build, which the Windows-side tests start beside them in
# the lab's simulator namespace: -DLUMARO_SIM_PROGRAM=PATH, else build/linux's, else
# build/linux-asan's (looked for at each configure).
if(NOT LUMARO_SIM_PROGRAM)
    set(LUMARO_SIM_PROGRAM ${PROJECT_SOURCE_DIR}/build/linux/sim/lumaro-sim)
    if(NOT EXISTS ${LUMARO_SIM_PROGRAM}
       AND EXISTS ${PROJECT_SOURCE_DIR}/build/linux-asan/sim/lumaro-sim)
        set(LUMARO_SIM_PROGRAM ${PROJECT_SOURCE_DIR}/build/linux-asan/sim/lumaro-sim)
    endif()
endif()

