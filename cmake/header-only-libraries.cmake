# Header-only libraries from Debian's packages (CLI11 from libcli11-dev, nlohmann/json from
# nlohmann-json3-dev), usable by both builds. The cross build must not search the host's
# /usr/include as a whole, so each library's own folder is linked into a folder of the build
# and only that is added.
#
#   lumaro_header_only_library(TARGET SUBDIRECTORY FILE)
#     e.g. lumaro_header_only_library(lumaro_cli11 CLI CLI.hpp)
function(lumaro_header_only_library target subdirectory file)
    find_path(found_dir ${subdirectory}/${file}
        PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    if(NOT found_dir)
        message(FATAL_ERROR "${subdirectory}/${file} not found: run scripts/setup.sh")
    endif()
    set(folder ${CMAKE_BINARY_DIR}/header-only/${target})
    file(MAKE_DIRECTORY ${folder})
    file(CREATE_LINK ${found_dir}/${subdirectory} ${folder}/${subdirectory} SYMBOLIC)
    add_library(${target} INTERFACE)
    target_include_directories(${target} SYSTEM INTERFACE ${folder})
    unset(found_dir CACHE)
endfunction()

lumaro_header_only_library(lumaro_cli11 CLI CLI.hpp)
lumaro_header_only_library(lumaro_json nlohmann json.hpp)
