# The folders under src/ as layers: a file may include from its own folder and from folders of a lower
# layer only, so no include runs upwards or in a circle. Run as `cmake -DSOURCE_DIR=<src> -P check_layers.cmake`;
# it names every include that breaks the order and fails.
#
# Lowest first. Windows sit in the folder of the feature they show and use the skin's controls (widgets) from
# below; the program entries (app, cli) stand on the session.
set(layers
    "common"
    "net widgets"
    "service"
    "settings engine history"
    "sending phonebook language"
    "teach contacts"
    "session"
    "app cli worker")

set(rank 0)
foreach(layer IN LISTS layers)
    string(REPLACE " " ";" folders "${layer}")
    foreach(folder IN LISTS folders)
        set(rank_${folder} ${rank})
    endforeach()
    math(EXPR rank "${rank} + 1")
endforeach()

file(GLOB folders RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
set(faults "")
foreach(folder IN LISTS folders)
    if(NOT IS_DIRECTORY ${SOURCE_DIR}/${folder})
        continue()
    endif()
    if(NOT DEFINED rank_${folder})
        string(APPEND faults "\n  src/${folder} has no layer: add it to tests/layers/check_layers.cmake")
        continue()
    endif()
    file(GLOB_RECURSE files ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
    foreach(file IN LISTS files)
        file(STRINGS ${file} includes REGEX "^#include \"[a-z]+/")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^#include \"([a-z]+)/.*" "\\1" target "${line}")
            if(target STREQUAL folder)
                continue()
            endif()
            file(RELATIVE_PATH shown ${SOURCE_DIR} ${file})
            if(NOT DEFINED rank_${target})
                string(APPEND faults "\n  src/${shown}: ${line} (no folder of that name has a layer)")
            elseif(NOT rank_${target} LESS rank_${folder})
                string(APPEND faults "\n  src/${shown}: ${line} (${folder} may not include ${target})")
            endif()
        endforeach()
    endforeach()
endforeach()

if(faults)
    message(FATAL_ERROR "Includes against the layers:${faults}")
endif()
message(STATUS "Every include between folders runs downwards")
