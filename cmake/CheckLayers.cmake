# Fails on an include against the direction of linking. Static libraries link whatever the
# final program gives them, so the linker alone would not notice a folder that reaches up.
#
# Each folder may include the folders listed for it, besides itself; a folder's tests/ (and
# the shared test support in it) follow the rules of the folder. Includes are named from a
# root: "core/..." is trapwell/core, "presentation/..." is veltrano/presentation.
#
#     com  <-  platform  <-  trapwell: sysinfo <- core <- delivery <- dialogs <- the component
#                        <-  veltrano: tracing <- effects <- presentation <- links <- mainwindow
#                                      <- the program;  wordimport <- mainwindow
# The component's public headers (<trapwell/...>, over com) are the one way from the program
# to the component.
set(below_com "")
set(below_platform "com")
set(below_public "com")
set(below_sysinfo "com;platform;trapwell")
set(below_core "${below_sysinfo};sysinfo")
set(below_delivery "${below_core};core")
set(below_dialogs "${below_delivery};delivery")
set(below_component "${below_dialogs};dialogs")
set(below_tracing "com;platform;trapwell")
set(below_effects "${below_tracing};tracing")
set(below_presentation "${below_effects};effects")
set(below_links "${below_presentation};presentation")
set(below_wordimport "com;platform;trapwell")
set(below_mainwindow "${below_links};links;wordimport")
set(below_program "${below_mainwindow};mainwindow")

# The layer of a file from its path in the repository.
function(layer_of path out)
    if(path MATCHES "^(com|platform)/")
        set(layer ${CMAKE_MATCH_1})
    elseif(path MATCHES "^trapwell/include/")
        set(layer public)
    elseif(path MATCHES "^trapwell/(sysinfo|core|delivery|dialogs)/")
        set(layer ${CMAKE_MATCH_1})
    elseif(path MATCHES "^trapwell/")
        set(layer component)
    elseif(path MATCHES "^veltrano/(tracing|effects|presentation|links|mainwindow|wordimport)/")
        set(layer ${CMAKE_MATCH_1})
    elseif(path MATCHES "^veltrano/")
        set(layer program)
    else()
        set(layer "")
    endif()
    set(${out} ${layer} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE ${ROOT}
     ${ROOT}/com/*.h ${ROOT}/com/*.cpp ${ROOT}/platform/*.h ${ROOT}/platform/*.cpp
     ${ROOT}/trapwell/*.h ${ROOT}/trapwell/*.cpp ${ROOT}/veltrano/*.h ${ROOT}/veltrano/*.cpp)
set(violations "")
foreach(source IN LISTS sources)
    layer_of(${source} layer)
    file(STRINGS ${ROOT}/${source} includes REGEX "^#include [\"<][a-z]+/")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^#include [\"<]([a-z]+)/.*" "\\1" root "${line}")
        if(line MATCHES "^#include <" AND NOT root MATCHES "^(com|trapwell|platform)$")
            continue() # a system or library header
        endif()
        if(root STREQUAL "trapwell" AND layer STREQUAL "public")
            continue() # the public headers among themselves
        endif()
        if(root STREQUAL layer)
            continue()
        endif()
        list(FIND below_${layer} ${root} index)
        if(index EQUAL -1)
            list(APPEND violations "${source} (${layer}): ${line}")
        endif()
    endforeach()
endforeach()

if(violations)
    list(JOIN violations "\n" text)
    message(FATAL_ERROR "includes against the direction of linking:\n${text}")
endif()
list(LENGTH sources count)
message(STATUS "${count} files include only downwards")
