# A static library of the source files in the current folder: every one of them,
# or only the FILES named, less sub-folders (EXCLUDE) and files (EXCLUDE_FILES)
# that belong to other libraries. LIBS are linked PUBLIC, PRIVATE_LIBS PRIVATE.
function(rededera_library name)
    cmake_parse_arguments(ARG "" "" "LIBS;PRIVATE_LIBS;EXCLUDE;FILES;EXCLUDE_FILES" ${ARGN})
    if(ARG_FILES)
        list(TRANSFORM ARG_FILES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ OUTPUT_VARIABLE srcs)
    else()
        file(GLOB_RECURSE srcs CONFIGURE_DEPENDS
            ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    endif()
    # Sub-folders that are libraries of their own.
    foreach(sub IN LISTS ARG_EXCLUDE)
        list(FILTER srcs EXCLUDE REGEX "^${CMAKE_CURRENT_SOURCE_DIR}/${sub}/")
    endforeach()
    if(ARG_EXCLUDE_FILES)
        list(TRANSFORM ARG_EXCLUDE_FILES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
        list(REMOVE_ITEM srcs ${ARG_EXCLUDE_FILES})
    endif()
    if(NOT srcs)
        set(srcs ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
    endif()
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
    target_compile_options(${name} PRIVATE -Wall -Wextra -Wno-unused-parameter)
endfunction()

# One test program per folder, made of every .cpp in it, discovered by CTest.
function(rededera_test name)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    add_executable(${name} ${srcs})
    target_link_libraries(${name} PRIVATE rededera_testmain ${ARG_LIBS} GTest::gtest Qt6::Test)
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        NO_PRETTY_VALUES
        DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()
