# One static library per folder, made of every source file in it.
function(rededera_library name)
    cmake_parse_arguments(ARG "" "" "LIBS;EXCLUDE" ${ARGN})
    file(GLOB_RECURSE srcs CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    # Sub-folders that are libraries of their own.
    foreach(sub IN LISTS ARG_EXCLUDE)
        list(FILTER srcs EXCLUDE REGEX "^${CMAKE_CURRENT_SOURCE_DIR}/${sub}/")
    endforeach()
    if(NOT srcs)
        set(srcs ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
    endif()
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
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
