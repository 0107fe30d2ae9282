# Shared helpers for the project's targets.
include(${CMAKE_CURRENT_LIST_DIR}/sdk/QuorvaneModules.cmake)

# Warnings are errors for project code.
function(qvn_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wno-unused-parameter)
    if(QVN_SANITIZE)
        # The instrumentation hides initialisations from g++'s flow analysis, which then
        # reports uses inside the standard library (std::regex among them) that are initialised.
        target_compile_options(${target} PRIVATE -Wno-maybe-uninitialized)
    endif()
endfunction()

# A static layer library built from every .cpp under the given folders (not recursive).
function(qvn_add_layer target)
    cmake_parse_arguments(L "" "" "DIRS;LIBS" ${ARGN})
    set(sources)
    foreach(dir ${L_DIRS})
        file(GLOB found CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
        list(APPEND sources ${found})
    endforeach()
    list(FILTER sources INCLUDE REGEX ".*")
    if(NOT sources)
        # A layer whose code has not arrived yet still gives a linkable library.
        set(placeholder ${CMAKE_BINARY_DIR}/placeholders/${target}.cpp)
        file(WRITE ${placeholder} "namespace { [[maybe_unused]] int placeholder; }\n")
        set(sources ${placeholder})
    endif()
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} PUBLIC ${L_LIBS})
    qvn_warnings(${target})
endfunction()

# A GoogleTest executable registered with CTest, run offscreen.
function(qvn_add_gtest name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} qvn_testsupport GTest::gmock GTest::gtest GTest::gtest_main)
    qvn_warnings(${name})
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300 LABELS ${name})
endfunction()

# A loadable module (tool plug-in, driver library, test fixture): no "lib" prefix games,
# placed where the caller says.
function(qvn_add_module name)
    cmake_parse_arguments(M "" "OUTPUT_DIR;OUTPUT_NAME" "SOURCES;LIBS" ${ARGN})
    add_library(${name} MODULE ${M_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PRIVATE ${M_LIBS})
    set_target_properties(${name} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${M_OUTPUT_DIR})
    quorvane_module_properties(${name})
    if(M_OUTPUT_NAME)
        set_target_properties(${name} PROPERTIES OUTPUT_NAME ${M_OUTPUT_NAME})
    endif()
    qvn_warnings(${name})
endfunction()
