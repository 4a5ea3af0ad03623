# SPDX-License-Identifier: GPL-3.0-or-later
# C glue for Wayland protocols, generated from their XML with wayland-scanner at build time.
#
# tessel_wayland_protocol(<target> <xml>) generates <name>-client-protocol.h and the interface
# tables for the protocol in <xml> and adds them to <target>; sources of <target> include the
# header by its file name. The tables are C and are compiled in an object library of their own,
# outside the C++ warning flags of Tessel's targets.
find_package(PkgConfig REQUIRED)
if(NOT TARGET PkgConfig::WAYLAND_CLIENT)
    pkg_check_modules(WAYLAND_CLIENT REQUIRED IMPORTED_TARGET wayland-client)
endif()
pkg_get_variable(WAYLAND_SCANNER_FROM_PKGCONFIG wayland-scanner wayland_scanner)
find_program(WAYLAND_SCANNER NAMES wayland-scanner
    HINTS "${WAYLAND_SCANNER_FROM_PKGCONFIG}" REQUIRED)
enable_language(C)

function(tessel_wayland_protocol target xml)
    get_filename_component(xml "${xml}" ABSOLUTE)
    get_filename_component(name "${xml}" NAME_WE)
    set(dir "${CMAKE_CURRENT_BINARY_DIR}/wayland-protocols")
    set(header "${dir}/${name}-client-protocol.h")
    set(code "${dir}/${name}-protocol.c")
    add_custom_command(OUTPUT "${header}"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${dir}"
        COMMAND ${WAYLAND_SCANNER} client-header "${xml}" "${header}"
        DEPENDS "${xml}" VERBATIM)
    add_custom_command(OUTPUT "${code}"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${dir}"
        COMMAND ${WAYLAND_SCANNER} private-code "${xml}" "${code}"
        DEPENDS "${xml}" VERBATIM)

    set(glue "${target}_wayland_glue")
    if(NOT TARGET ${glue})
        add_library(${glue} OBJECT)
        target_link_libraries(${glue} PUBLIC PkgConfig::WAYLAND_CLIENT)
        set_target_properties(${glue} PROPERTIES POSITION_INDEPENDENT_CODE ON)
        target_link_libraries(${target} PRIVATE ${glue} PkgConfig::WAYLAND_CLIENT)
        target_include_directories(${target} PRIVATE "${dir}")
    endif()
    target_sources(${glue} PRIVATE "${code}")
    target_sources(${target} PRIVATE "${header}")
endfunction()
