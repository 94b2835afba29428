# The project's version for the programs: lumaro_version.h (LUMARO_VERSION, e.g.
# "2.7.3.20701") through the target lumaro_version, and version.txt in the build folder
# for the scripts that name the release's files.
set(_lumaro_version_dir ${CMAKE_BINARY_DIR}/version)
file(CONFIGURE OUTPUT ${_lumaro_version_dir}/lumaro_version.h
     CONTENT "#pragma once\n#define LUMARO_VERSION \"${PROJECT_VERSION}\"\n")
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/version.txt CONTENT "${PROJECT_VERSION}\n")
add_library(lumaro_version INTERFACE)
target_include_directories(lumaro_version INTERFACE ${_lumaro_version_dir})
