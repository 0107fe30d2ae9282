# Runs the reference host's scripted session twice, each in a home of its own. The take it records
# from the simulated gamepad runs in simulated time, so both runs must write the same take.
#   cmake -D HOST=.../quorvane-host -D WORK=... -P ExactDemoTake.cmake
include(${CMAKE_CURRENT_LIST_DIR}/../sdk/Sandbox.cmake)

file(REMOVE_RECURSE ${WORK})
foreach(run first second)
    qvn_sandbox(${WORK}/${run} sandbox)
    qvn_run("the ${run} demo" out ${sandbox} ${HOST} --demo --output ${WORK}/${run}/demo-output)
    qvn_expect("${out}" "take 1: " "a take report")
    file(READ ${WORK}/${run}/demo-output/take.csv ${run})
endforeach()
if(NOT first STREQUAL second)
    message(FATAL_ERROR "two runs recorded different takes:\n${first}\n----\n${second}")
endif()
