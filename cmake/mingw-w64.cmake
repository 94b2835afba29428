# Cross-compiling the Windows build with MinGW-w64 (posix threads flavour).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Never pick up the build machine's own packages (its GoogleTest is a Linux build).
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Windows programs that tests run go through Wine, each inside its own isolated test LAN.
cmake_path(ABSOLUTE_PATH CMAKE_CURRENT_LIST_DIR NORMALIZE OUTPUT_VARIABLE _lumaro_cmake_dir)
cmake_path(GET _lumaro_cmake_dir PARENT_PATH _lumaro_source_dir)
set(CMAKE_CROSSCOMPILING_EMULATOR ${_lumaro_source_dir}/scripts/wine-run.sh)
