# SPDX-License-Identifier: GPL-3.0-or-later
# Flags every Tessel target gets through tessel_target_defaults().
add_library(tessel_options INTERFACE)
target_compile_options(tessel_options INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wold-style-cast -Wsuggest-override
    -Wnon-virtual-dtor -Wcast-align -Wunused -Woverloaded-virtual -Wnull-dereference
    -Wformat=2 -Wimplicit-fallthrough)
if(TESSEL_WERROR)
    target_compile_options(tessel_options INTERFACE -Werror)
endif()
target_compile_definitions(tessel_options INTERFACE
    QT_NO_KEYWORDS QT_NO_CAST_FROM_ASCII QT_NO_URL_CAST_FROM_STRING QT_STRICT_ITERATORS
    QT_USE_QSTRINGBUILDER TESSEL_VERSION="${PROJECT_VERSION}" TESSEL_APP_ID="${TESSEL_APP_ID}")
if(TESSEL_SANITIZE)
    target_compile_options(tessel_options INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(tessel_options INTERFACE -fsanitize=address,undefined)
endif()

function(tessel_target_defaults target)
    target_link_libraries(${target} PRIVATE tessel_options)
endfunction()
