# SPDX-License-Identifier: GPL-3.0-or-later
# The interface texts live in Qt Linguist files, translations/tessel_<code>.ts, one per language
# that translations/LINGUAS names (docs/translating.md). lrelease compiles them; the compiled
# files and the list travel in the binary as a Qt resource directory.
find_package(Qt6 REQUIRED COMPONENTS LinguistTools)

set(TESSEL_TRANSLATIONS_DIR ${PROJECT_SOURCE_DIR}/translations)

# tessel_read_linguas(<out-var> <LINGUAS file>): the language codes the file names, in its order
# (codes separated by white space, "#" starts a comment). Reconfigures when the file changes.
function(tessel_read_linguas out file)
    file(STRINGS ${file} lines)
    set(codes)
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "#.*" "" line "${line}")
        string(REGEX MATCHALL "[^ \t]+" words "${line}")
        list(APPEND codes ${words})
    endforeach()
    list(REMOVE_DUPLICATES codes)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
    set(${out} ${codes} PARENT_SCOPE)
endfunction()

# tessel_add_translations(<target> NAME <name> PREFIX <resource directory> LINGUAS <file>
#                         TS_FILES <tessel_<code>.ts>...)
# Compiles, for every code of the LINGUAS file, the tessel_<code>.ts among TS_FILES (which may be
# generated) into tessel_<code>.qm and adds those and the list to <target> as the resource
# directory PREFIX (LanguageManager reads ":/tessel/translations").
function(tessel_add_translations target)
    cmake_parse_arguments(ARG "" "NAME;PREFIX;LINGUAS" "TS_FILES" ${ARGN})
    tessel_read_linguas(codes ${ARG_LINGUAS})
    set(out ${CMAKE_CURRENT_BINARY_DIR}/${ARG_NAME})
    set(files)
    foreach(code IN LISTS codes)
        set(ts)
        foreach(candidate IN LISTS ARG_TS_FILES)
            get_filename_component(name ${candidate} NAME)
            if(name STREQUAL "tessel_${code}.ts")
                set(ts ${candidate})
            endif()
        endforeach()
        if(NOT ts)
            message(FATAL_ERROR "${ARG_LINGUAS} names ${code}, but there is no tessel_${code}.ts")
        endif()
        set(qm ${out}/tessel_${code}.qm)
        add_custom_command(OUTPUT ${qm}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${out}
            COMMAND Qt6::lrelease -idbased -silent ${ts} -qm ${qm}
            DEPENDS ${ts} Qt6::lrelease
            COMMENT "Compiling the ${code} interface texts"
            VERBATIM)
        list(APPEND files ${qm})
    endforeach()
    # The list as the program reads it: the codes alone, in order.
    list(JOIN codes "\n" listed)
    file(GENERATE OUTPUT ${out}/LINGUAS CONTENT "${listed}\n")
    list(APPEND files ${out}/LINGUAS)
    qt_add_resources(${target} ${ARG_NAME} PREFIX ${ARG_PREFIX} BASE ${out} FILES ${files})
endfunction()

# The .ts files of the languages LINGUAS names.
tessel_read_linguas(TESSEL_LANGUAGES ${TESSEL_TRANSLATIONS_DIR}/LINGUAS)
set(TESSEL_TS_FILES)
foreach(code IN LISTS TESSEL_LANGUAGES)
    list(APPEND TESSEL_TS_FILES ${TESSEL_TRANSLATIONS_DIR}/tessel_${code}.ts)
endforeach()

# Brings every translation file up to date with the sources (new ids in, removed ones out, the
# English texts from the sources) and the desktop files' templates: run it after adding or
# changing a text, then translate what it marks unfinished.
add_custom_target(update_translations
    COMMAND ${CMAKE_COMMAND} -E env LUPDATE=$<TARGET_FILE:Qt6::lupdate>
        ${PROJECT_SOURCE_DIR}/scripts/update-translations
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "Updating translations/ from the sources"
    VERBATIM USES_TERMINAL)
