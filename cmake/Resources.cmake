# serivane_add_resource_table(<target> [<id> <file>]...)
# Makes an object library that compiles the files into the program as its resource table
# (platform/Resources.h). Link exactly one such target into a program.
function(serivane_add_resource_table target)
    set(entries ${ARGN})
    list(LENGTH entries count)
    math(EXPR odd "${count} % 2")
    if(odd)
        message(FATAL_ERROR "serivane_add_resource_table: ids and files must come in pairs")
    endif()
    set(files "")
    set(index 0)
    while(index LESS count)
        math(EXPR next "${index} + 1")
        list(GET entries ${next} file)
        get_filename_component(file "${file}" ABSOLUTE)
        list(APPEND files "${file}")
        list(REMOVE_AT entries ${next})
        list(INSERT entries ${next} "${file}")
        math(EXPR index "${index} + 2")
    endwhile()
    set(output "${CMAKE_CURRENT_BINARY_DIR}/${target}.cpp")
    string(REPLACE ";" "|" packed "${entries}")
    add_custom_command(
        OUTPUT "${output}"
        COMMAND ${CMAKE_COMMAND} "-DOUTPUT=${output}" "-DENTRIES=${packed}"
                -P "${PROJECT_SOURCE_DIR}/cmake/EmbedResources.cmake"
        DEPENDS ${files} "${PROJECT_SOURCE_DIR}/cmake/EmbedResources.cmake"
        COMMENT "Embedding resources for ${target}"
        VERBATIM)
    add_library(${target} OBJECT "${output}")
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
endfunction()
