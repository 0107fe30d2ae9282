# Compiles every SDK header on its own, twice in one unit, with nothing but the SDK folder on the
# include path: a header that leans on something the SDK does not ship, or lacks its guard,
# fails here rather than in a plug-in author's build.
#   cmake -D COMPILER=... -D INCLUDE_DIR=... -D WORK=... -P CheckHeaders.cmake
file(GLOB_RECURSE headers RELATIVE ${INCLUDE_DIR} ${INCLUDE_DIR}/*.h)
list(LENGTH headers count)
if(count EQUAL 0)
    message(FATAL_ERROR "no headers in ${INCLUDE_DIR}")
endif()
file(MAKE_DIRECTORY ${WORK})
set(failures "")
foreach(header ${headers})
    string(MAKE_C_IDENTIFIER ${header} unit)
    file(WRITE ${WORK}/${unit}.cpp "#include \"${header}\"\n#include \"${header}\"\n")
    execute_process(
        COMMAND ${COMPILER} -std=c++20 -fsyntax-only -Wall -Wextra -Werror -Wno-unused-parameter
                -I${INCLUDE_DIR} ${WORK}/${unit}.cpp
        RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT code EQUAL 0)
        string(APPEND failures "${header}:\n${out}\n")
    endif()
endforeach()
if(failures)
    message(FATAL_ERROR "SDK headers that do not compile on their own:\n${failures}")
endif()
message(STATUS "${count} SDK headers compile on their own")
