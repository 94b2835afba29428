# The project's version for the programs: lumaro_version.h (LUMARO_VERSION, e.g.
# "2.7.3.20701") through the target lumaro_version, and version.txt in the build folder
# for the scripts that name the release's files.
set(_lumaro_version_dir ${CMAKE_BINARY_DIR}/version)
file(CONFIGURE OUTPUT ${_lumaro_version_dir}/lumaro_version.h
     CONTENT "#pragma once\n#define LUMARO_VERSION \"${PROJECT_VERSION}\"\n")
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/version.txt CONTENT "${PROJECT_VERSION}\n")
add_library(lumaro_version INTERFACE)
target_include_directories(lumaro_version INTERFACE ${_lumaro_version_dir})

# The commit the programs are built from (lumaro.exe's About, both .exe's version blocks):
# LUMARO_COMMIT from the environment (the release, built from an export without .git), else
# the source tree's HEAD, else "unknown". Configured again whenever HEAD moves.
if(DEFINED ENV{LUMARO_COMMIT} AND NOT "$ENV{LUMARO_COMMIT}" STREQUAL "")
    set(LUMARO_COMMIT "$ENV{LUMARO_COMMIT}")
else()
    execute_process(COMMAND git rev-parse HEAD WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE LUMARO_COMMIT OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE _lumaro_git_result ERROR_QUIET)
    execute_process(COMMAND git rev-parse --absolute-git-dir WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE _lumaro_git_dir OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(NOT _lumaro_git_result EQUAL 0 OR LUMARO_COMMIT STREQUAL "")
        set(LUMARO_COMMIT unknown)
    elseif(EXISTS ${_lumaro_git_dir}/logs/HEAD)
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_lumaro_git_dir}/logs/HEAD)
    endif()
endif()
string(SUBSTRING "${LUMARO_COMMIT}" 0 12 LUMARO_COMMIT_SHORT)
