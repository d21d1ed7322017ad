# The order of the libraries, lowest first. A library may include headers of
# its own and of the libraries on lines above it, link only those, and load by
# name only the forms registered in them; the libraries on one line use none
# of each other.
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
#   cmake -DMANIFEST=<file> -DSOURCE_DIR=<dir> -DBINARY_DIR=<dir> -P checkLibraries.cmake
# where the manifest sets <library>_SOURCES, <library>_LINKS and <library>_DIR
# (and may set its own REDEDERA_LIBRARY_ORDER). It checks that
#   - a library's source files are exactly those of its folder, less the
#     folders of libraries within it;
#   - a library links, and includes headers of, only itself and those below it;
#   - a library names a form (Form::name) only when it or one below registers
#     it (forms::registerForm(Form::name, ...)), and no library makes a form
#     name of its own outside core/ui/gForms.h, where the names are listed.
if(NOT CMAKE_SCRIPT_MODE_FILE)
    return()
endif()
cmake_minimum_required(VERSION 3.21)

include(${MANIFEST})

# The checked files of a library: its C++ sources in the source tree, less
# what the build generates (moc output and the like).
function(checked_sources lib out)
    set(files "")
    foreach(src IN LISTS ${lib}_SOURCES)
        cmake_path(IS_PREFIX SOURCE_DIR ${src} NORMALIZE in_source)
        cmake_path(IS_PREFIX BINARY_DIR ${src} NORMALIZE in_build)
        if(src MATCHES "\\.(cpp|h)$" AND in_source AND NOT in_build)
            get_filename_component(src ${src} ABSOLUTE)
            list(APPEND files ${src})
        endif()
    endforeach()
    set(${out} ${files} PARENT_SCOPE)
endfunction()

# The lines of a file without their // comments.
function(code_lines file out)
    file(STRINGS ${file} lines)
    set(code "")
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "//.*$" "" line "${line}")
        list(APPEND code "${line}")
    endforeach()
    set(${out} "${code}" PARENT_SCOPE)
endfunction()

set(libraries "")
set(rank 0)
foreach(line IN LISTS REDEDERA_LIBRARY_ORDER)
    string(REPLACE " " ";" line_libs "${line}")
    foreach(lib IN LISTS line_libs)
        list(APPEND libraries ${lib})
        set(rank_${lib} ${rank})
        checked_sources(${lib} files_${lib})
        foreach(src IN LISTS files_${lib})
            set(owner_${src} ${lib})
        endforeach()
    endforeach()
    math(EXPR rank "${rank} + 1")
endforeach()

set(problems "")

# The form names, as core/ui/gForms.h lists them; a Form:: of another scope
# (an enum of that name in a class) is not one.
set(names_file ${SOURCE_DIR}/core/ui/gForms.h)
set(form_names "")
if(EXISTS ${names_file})
    file(STRINGS ${names_file} listed REGEX "^[ \t]*inline[ \t]+constexpr[ \t]+gFormName[ \t]+[A-Za-z0-9_]+")
    foreach(line IN LISTS listed)
        string(REGEX REPLACE "^[ \t]*inline[ \t]+constexpr[ \t]+gFormName[ \t]+([A-Za-z0-9_]+).*" "\\1" name "${line}")
        list(APPEND form_names ${name})
    endforeach()
endif()
if(NOT form_names)
    string(APPEND problems "  core/ui/gForms.h lists no form names\n")
endif()

# The folder decides the library.
foreach(lib IN LISTS libraries)
    if(NOT ${lib}_DIR)
        string(APPEND problems "  ${lib} has no folder\n")
        continue()
    endif()
    get_filename_component(dir ${${lib}_DIR} ABSOLUTE)
    file(GLOB_RECURSE in_folder ${dir}/*.cpp ${dir}/*.h)
    foreach(other IN LISTS libraries)
        if(other STREQUAL lib OR NOT ${other}_DIR)
            continue()
        endif()
        get_filename_component(other_dir ${${other}_DIR} ABSOLUTE)
        cmake_path(IS_PREFIX dir ${other_dir} NORMALIZE nested)
        if(nested AND NOT other_dir STREQUAL dir)
            list(FILTER in_folder EXCLUDE REGEX "^${other_dir}/")
        endif()
    endforeach()
    foreach(src IN LISTS in_folder)
        if(NOT src IN_LIST files_${lib})
            file(RELATIVE_PATH rel ${SOURCE_DIR} ${src})
            string(APPEND problems "  ${lib}: ${rel} lies in its folder but is not one of its files\n")
        endif()
    endforeach()
    foreach(src IN LISTS files_${lib})
        if(NOT src IN_LIST in_folder)
            file(RELATIVE_PATH rel ${SOURCE_DIR} ${src})
            string(APPEND problems "  ${lib}: ${rel} is one of its files but lies outside its folder\n")
        endif()
    endforeach()
endforeach()

# Where each form name is registered.
foreach(lib IN LISTS libraries)
    foreach(src IN LISTS files_${lib})
        code_lines(${src} code)
        string(REGEX MATCHALL "registerForm[ \t]*\\([ \t]*Form::[A-Za-z0-9_]+" registrations "${code}")
        foreach(r IN LISTS registrations)
            string(REGEX REPLACE ".*Form::" "" form "${r}")
            if(DEFINED registered_${form} AND NOT registered_${form} STREQUAL lib)
                string(APPEND problems "  Form::${form} is registered by ${registered_${form}} and ${lib}\n")
            endif()
            set(registered_${form} ${lib})
        endforeach()
    endforeach()
endforeach()

foreach(lib IN LISTS libraries)
    foreach(link IN LISTS ${lib}_LINKS)
        if(DEFINED rank_${link} AND NOT rank_${link} LESS rank_${lib})
            string(APPEND problems "  ${lib} links ${link}\n")
        endif()
    endforeach()

    foreach(src IN LISTS files_${lib})
        get_filename_component(src_dir ${src} DIRECTORY)
        file(RELATIVE_PATH src_rel ${SOURCE_DIR} ${src})

        file(STRINGS ${src} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
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

        # The forms it names, registered or loaded.
        code_lines(${src} code)
        string(REGEX MATCHALL "Form::[A-Za-z0-9_]+" uses "${code}")
        list(TRANSFORM uses REPLACE ".*Form::" "")
        list(REMOVE_DUPLICATES uses)
        foreach(form IN LISTS uses)
            if(NOT form IN_LIST form_names)
                continue()
            endif()
            set(owner "${registered_${form}}")
            if(NOT owner)
                string(APPEND problems "  ${lib}: ${src_rel} names Form::${form}, which no library registers\n")
            elseif(NOT owner STREQUAL lib AND NOT rank_${owner} LESS rank_${lib})
                string(APPEND problems "  ${lib}: ${src_rel} loads Form::${form} of ${owner}\n")
            endif()
        endforeach()
        if(NOT src_rel STREQUAL "core/ui/gForms.h" AND code MATCHES "gFormName[ \t]*[{(][ \t]*\"")
            string(APPEND problems "  ${lib}: ${src_rel} makes a form name outside core/ui/gForms.h\n")
        endif()
    endforeach()
endforeach()

if(problems)
    message(FATAL_ERROR "Libraries break their order, their folders or their form names:\n${problems}")
endif()
list(LENGTH libraries count)
message(STATUS "${count} libraries keep to their order, their folders and their forms")
