# Shared by the install and package checks: a home of their own for the programs they run, and
# a way to fail with the output that shows why.

# Sets <variable> to the `cmake -E env` arguments that point HOME and the XDG folders at fresh
# folders under <work> and leave the install root to be found from the library's location.
function(qvn_sandbox work variable)
    file(MAKE_DIRECTORY ${work}/home/.config ${work}/runtime)
    file(CHMOD ${work}/runtime PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
    set(${variable} ${CMAKE_COMMAND} -E env --unset=QUORVANE_INSTALL_ROOT
        --unset=QUORVANE_SIMULATED_GAMEPAD --unset=QUORVANE_SIMULATED_CLOCK --unset=XDG_DATA_HOME
        --unset=XDG_CACHE_HOME
        HOME=${work}/home XDG_CONFIG_HOME=${work}/home/.config XDG_RUNTIME_DIR=${work}/runtime
        QT_QPA_PLATFORM=offscreen PARENT_SCOPE)
endfunction()

# Runs a command; any exit code but 0 fails the check with everything it printed.
function(qvn_run what output)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT code EQUAL 0)
        message(FATAL_ERROR "${what} failed (${code}):\n${out}")
    endif()
    set(${output} "${out}" PARENT_SCOPE)
endfunction()

# Fails unless <text> contains <expected> literally.
function(qvn_expect text expected what)
    string(FIND "${text}" "${expected}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "${what}: no \"${expected}\" in:\n${text}")
    endif()
endfunction()
