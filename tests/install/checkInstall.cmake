# Runs `cmake --install` of BUILD_DIR into PREFIX and checks the installed tree.
cmake_minimum_required(VERSION 3.21)
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${rc}):\n${out}")
endif()

set(failures "")
# expect(ok text): notes text as a failure unless the variable ok is true.
macro(expect ok text)
    if(NOT ${ok})
        string(APPEND failures "\n  ${text}")
    endif()
endmacro()

# Sets result to whether the command exits with status 0.
function(succeeds result)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc)
    if(rc EQUAL 0)
        set(${result} TRUE PARENT_SCOPE)
    else()
        set(${result} FALSE PARENT_SCOPE)
    endif()
endfunction()

function(is_executable file result)
    succeeds(ok test -f ${file} -a -x ${file})
    set(${result} ${ok} PARENT_SCOPE)
endfunction()

function(same_bytes a b result)
    succeeds(ok ${CMAKE_COMMAND} -E compare_files ${a} ${b})
    set(${result} ${ok} PARENT_SCOPE)
endfunction()

set(program ${PREFIX}/lib/Rededera/Rededera)
set(manifest ${PREFIX}/lib/Rededera/Rededera.exe.manifest)
set(launcher ${PREFIX}/bin/rededera)
set(entry ${PREFIX}/share/applications/rededera.desktop)
set(icon ${PREFIX}/share/icons/hicolor/scalable/apps/rededera.svg)

is_executable(${program} ok)
expect(ok "lib/Rededera/Rededera is not an executable file")
same_bytes(${manifest} ${BUILD_DIR}/Rededera.exe.manifest ok)
expect(ok "lib/Rededera/Rededera.exe.manifest is not the built manifest")
is_executable(${launcher} ok)
expect(ok "bin/rededera is not an executable file")
same_bytes(${icon} ${SOURCE_DIR}/resources/icon/105.svg ok)
expect(ok "share/icons/hicolor/scalable/apps/rededera.svg is not the program's icon")

# Nothing else lands in the tree (the setup program installs a user's copy; a
# package has no use for it).
file(GLOB_RECURSE installed RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT installed)
set(expected bin/rededera lib/Rededera/Rededera lib/Rededera/Rededera.exe.manifest
    share/applications/rededera.desktop share/icons/hicolor/scalable/apps/rededera.svg)
set(ok FALSE)
if("${installed}" STREQUAL "${expected}")
    set(ok TRUE)
endif()
expect(ok "installed files are ${installed}")

# The menu entry starts the launcher by name and shows the icon.
file(STRINGS ${entry} lines)
foreach(key Exec Icon)
    set(ok FALSE)
    if("${key}=rededera" IN_LIST lines)
        set(ok TRUE)
    endif()
    expect(ok "the menu entry has no ${key}=rededera")
endforeach()

# The launcher reaches the installed program from any folder: on a platform that
# does not exist Qt itself stops, naming the platform.
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=no-such-platform HOME=${PREFIX}/home
        XDG_CONFIG_HOME=${PREFIX}/home ${launcher}
    WORKING_DIRECTORY /
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
string(FIND "${out}" "no-such-platform" at)
set(ok FALSE)
if(at GREATER -1)
    set(ok TRUE)
endif()
expect(ok "bin/rededera did not start the program (${rc}):\n${out}")

find_program(validator desktop-file-validate)
if(validator)
    execute_process(COMMAND ${validator} ${entry} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
    set(ok FALSE)
    if(rc EQUAL 0 AND "${out}" STREQUAL "")
        set(ok TRUE)
    endif()
    expect(ok "desktop-file-validate: ${out}")
endif()

if(failures)
    message(FATAL_ERROR "The installed tree is not right:${failures}")
endif()
message(STATUS "Installed tree checked in ${PREFIX}")
