# The folders of src/ stand on floors. Each folder is one library that sees only the headers of
# its own folder and of the libraries it declares; it may declare only libraries defined before
# it on its own or a lower floor. An include upwards, or around a loop, therefore fails to
# build instead of waiting for a review.
#
#   corv_library(<name> FOLDER <folder under src> FLOOR <n>
#                [SOURCES <files>...] [USES <corv libraries>...] [LINKS <other targets>...]
#                [LINKS_PRIVATE <other targets>...])
#
# Without SOURCES the library is header-only. Tests, tools and benchmarks link the libraries
# they exercise and so see exactly those headers.

set(CORV_FLOOR_STAGE "${PROJECT_BINARY_DIR}/floors")

function(corv_library name)
    cmake_parse_arguments(PARSE_ARGV 1 LIB "" "FOLDER;FLOOR"
        "SOURCES;USES;LINKS;LINKS_PRIVATE")
    if(NOT LIB_FOLDER OR NOT LIB_FLOOR)
        message(FATAL_ERROR "corv_library(${name}) needs FOLDER and FLOOR")
    endif()
    foreach(used IN LISTS LIB_USES)
        if(NOT TARGET ${used})
            message(FATAL_ERROR "${name} (src/${LIB_FOLDER}) uses ${used}, which is not defined "
                "before it: libraries may only use what stands below them or beside them earlier")
        endif()
        get_target_property(used_floor ${used} CORV_FLOOR)
        if(NOT used_floor OR used_floor GREATER LIB_FLOOR)
            message(FATAL_ERROR "${name} on floor ${LIB_FLOOR} uses ${used} on floor "
                "${used_floor}: a folder may not use a folder on a higher floor")
        endif()
    endforeach()

    # Only this folder's own headers are staged for the library's include path.
    set(stage "${CORV_FLOOR_STAGE}/${name}")
    file(REMOVE_RECURSE "${stage}")
    file(MAKE_DIRECTORY "${stage}/${LIB_FOLDER}")
    file(GLOB headers CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/src/${LIB_FOLDER}/*.hpp")
    foreach(header IN LISTS headers)
        get_filename_component(header_name "${header}" NAME)
        file(CREATE_LINK "${header}" "${stage}/${LIB_FOLDER}/${header_name}" SYMBOLIC)
    endforeach()

    if(LIB_SOURCES)
        add_library(${name} STATIC ${LIB_SOURCES})
        set(scope PUBLIC)
        target_link_libraries(${name} PRIVATE ${LIB_LINKS_PRIVATE})
    else()
        add_library(${name} INTERFACE)
        set(scope INTERFACE)
    endif()
    target_include_directories(${name} ${scope} "${stage}")
    target_link_libraries(${name} ${scope} ${LIB_USES} ${LIB_LINKS})
    set_target_properties(${name} PROPERTIES CORV_FLOOR ${LIB_FLOOR} CORV_STAGE "${stage}")
endfunction()
