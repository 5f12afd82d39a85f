# wyn_add_resources(target script...): compiles resource scripts with wynrc at build time, adds the
# generated source (the database as raw-data blocks, and the native tables) to target, and lets
# target's sources #include <res/ids.h>, the names the scripts #define for their ids.
# wyn_resource_ids(target script...): only that header, for a library whose code uses the names of
# resources that the program linking it carries. A target uses one of the two functions, not both.
if(NOT TARGET wynrc)
    add_subdirectory(${CMAKE_CURRENT_LIST_DIR} ${CMAKE_BINARY_DIR}/tools/wynrc)
endif()

# Sets scripts and inputs (the scripts and the icons beside them) in the caller's scope.
function(_wyn_resource_inputs)
    set(scripts)
    set(icons)
    foreach(script ${ARGN})
        get_filename_component(path ${script} ABSOLUTE)
        list(APPEND scripts ${path})
        # Icons named by the scripts are rebuilt on change too.
        get_filename_component(dir ${path} DIRECTORY)
        file(GLOB found CONFIGURE_DEPENDS ${dir}/*.xpm)
        list(APPEND icons ${found})
    endforeach()
    set(scripts ${scripts} PARENT_SCOPE)
    set(inputs ${scripts} ${icons} PARENT_SCOPE)
endfunction()

# The header's directory for target; its sources include it as <res/ids.h>. Every target has its own,
# so targets built from different scripts never see each other's names.
function(_wyn_ids_header target)
    set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_ids)
    file(MAKE_DIRECTORY ${dir}/res)
    target_include_directories(${target} PRIVATE ${dir})
    # Nothing generated here is for Qt's code generators of a target that runs them.
    set_source_files_properties(${dir}/res/ids.h PROPERTIES SKIP_AUTOGEN ON)
    set(ids ${dir}/res/ids.h PARENT_SCOPE)
endfunction()

function(wyn_add_resources target)
    _wyn_resource_inputs(${ARGN})
    _wyn_ids_header(${target})
    set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp)
    set_source_files_properties(${out} PROPERTIES SKIP_AUTOGEN ON)
    # wynrc leaves an unchanged header alone; restat then spares the sources that include it.
    add_custom_command(OUTPUT ${out} ${ids}
        COMMAND wynrc -o ${out} --ids ${ids} ${scripts}
        DEPENDS wynrc ${inputs}
        COMMENT "Compiling resources of ${target}"
        VERBATIM)
    # Listed as sources, so both exist before any of target's sources is compiled.
    target_sources(${target} PRIVATE ${out} ${ids})
endfunction()

function(wyn_resource_ids target)
    _wyn_resource_inputs(${ARGN})
    _wyn_ids_header(${target})
    add_custom_command(OUTPUT ${ids}
        COMMAND wynrc --ids ${ids} ${scripts}
        DEPENDS wynrc ${scripts}
        COMMENT "Naming the resource ids for ${target}"
        VERBATIM)
    target_sources(${target} PRIVATE ${ids})
endfunction()
