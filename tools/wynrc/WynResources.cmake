# wyn_add_resources(target script...): compiles resource scripts with wynrc at build time and adds the
# generated source (the database as raw-data blocks, and the native tables) to target.
if(NOT TARGET wynrc)
    add_subdirectory(${CMAKE_CURRENT_LIST_DIR} ${CMAKE_BINARY_DIR}/tools/wynrc)
endif()

function(wyn_add_resources target)
    set(scripts)
    foreach(script ${ARGN})
        get_filename_component(path ${script} ABSOLUTE)
        list(APPEND scripts ${path})
    endforeach()
    # Icons named by the scripts are rebuilt on change too.
    set(icons)
    foreach(script ${scripts})
        get_filename_component(dir ${script} DIRECTORY)
        file(GLOB found CONFIGURE_DEPENDS ${dir}/*.xpm)
        list(APPEND icons ${found})
    endforeach()
    set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp)
    add_custom_command(OUTPUT ${out}
        COMMAND wynrc -o ${out} ${scripts}
        DEPENDS wynrc ${scripts} ${icons}
        COMMENT "Compiling resources of ${target}"
        VERBATIM)
    target_sources(${target} PRIVATE ${out})
endfunction()
