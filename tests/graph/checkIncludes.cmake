# The order of the libraries, lowest first. A library may include headers of
# its own and of the libraries on lines above it, and link only those; the
# libraries on one line use none of each other.
set(REDEDERA_LIBRARY_ORDER
    "rededera_base rededera_resources"
    "rededera_rtf"
    "rededera_platform"
    "rededera_model"
    "rededera_ui"
    "rededera_controls"
    "rededera_accounts rededera_diary rededera_timetable"
    "rededera_shell")

# Included by tests/graph/CMakeLists.txt for the order only; the check itself
# runs as a script:
#   cmake -DMANIFEST=<file> -DSOURCE_DIR=<dir> -DBINARY_DIR=<dir> -P checkIncludes.cmake
# where the manifest sets <library>_SOURCES and <library>_LINKS.
if(NOT CMAKE_SCRIPT_MODE_FILE)
    return()
endif()

include(${MANIFEST})

set(libraries "")
set(rank 0)
foreach(line IN LISTS REDEDERA_LIBRARY_ORDER)
    string(REPLACE " " ";" line_libs "${line}")
    foreach(lib IN LISTS line_libs)
        list(APPEND libraries ${lib})
        set(rank_${lib} ${rank})
        foreach(src IN LISTS ${lib}_SOURCES)
            set(owner_${src} ${lib})
        endforeach()
    endforeach()
    math(EXPR rank "${rank} + 1")
endforeach()

set(problems "")
foreach(lib IN LISTS libraries)
    foreach(link IN LISTS ${lib}_LINKS)
        if(DEFINED rank_${link} AND NOT rank_${link} LESS rank_${lib})
            string(APPEND problems "  ${lib} links ${link}\n")
        endif()
    endforeach()

    foreach(src IN LISTS ${lib}_SOURCES)
        # Files the build generates (moc output and the like) are not checked.
        cmake_path(IS_PREFIX SOURCE_DIR ${src} NORMALIZE in_source)
        cmake_path(IS_PREFIX BINARY_DIR ${src} NORMALIZE in_build)
        if(NOT src MATCHES "\\.(cpp|h)$" OR NOT in_source OR in_build)
            continue()
        endif()
        file(STRINGS ${src} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
        get_filename_component(src_dir ${src} DIRECTORY)
        file(RELATIVE_PATH src_rel ${SOURCE_DIR} ${src})
        foreach(inc IN LISTS includes)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" name "${inc}")
            set(header "")
            foreach(candidate ${SOURCE_DIR}/${name} ${src_dir}/${name})
                if(EXISTS ${candidate} AND NOT header)
                    get_filename_component(header ${candidate} ABSOLUTE)
                endif()
            endforeach()
            if(NOT header)
                continue()
            endif()
            set(owner "${owner_${header}}")
            if(NOT owner)
                string(APPEND problems "  ${lib}: ${src_rel} includes ${name}, which no library holds\n")
            elseif(NOT owner STREQUAL lib AND NOT rank_${owner} LESS rank_${lib})
                string(APPEND problems "  ${lib}: ${src_rel} includes ${name} of ${owner}\n")
            endif()
        endforeach()
    endforeach()
endforeach()

if(problems)
    message(FATAL_ERROR "Libraries reach up or sideways in the library order:\n${problems}")
endif()
list(LENGTH libraries count)
message(STATUS "${count} libraries keep to their order")
