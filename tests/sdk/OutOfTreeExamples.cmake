# Installs the project into a fresh prefix, builds the stand-alone samples (a tool plug-in and a
# driver library) against it with find_package, installs them into the installed tree's plug-in
# and driver folders, and checks that the installed reference host loads both and that the
# tool's instances can be made. The driver is also built once with the pkg-config files.
#   cmake -D BUILD_DIR=... -D SOURCE_DIR=... -D WORK=... -D COMPILER=... -D GENERATOR=...
#         -D PROBE=... -P OutOfTreeExamples.cmake
include(${CMAKE_CURRENT_LIST_DIR}/Sandbox.cmake)

file(REMOVE_RECURSE ${WORK})
set(prefix ${WORK}/prefix)
qvn_run("installing the project" out ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

foreach(sample spotlight metronome)
    qvn_run("configuring ${sample}" out ${CMAKE_COMMAND} -S ${SOURCE_DIR}/examples/sdk/${sample}
        -B ${WORK}/${sample} -G ${GENERATOR} -DCMAKE_BUILD_TYPE=RelWithDebInfo
        -DCMAKE_CXX_COMPILER=${COMPILER} "-DCMAKE_CXX_FLAGS=-Wall -Wextra -Werror"
        -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF)
    qvn_run("building ${sample}" out ${CMAKE_COMMAND} --build ${WORK}/${sample})
    qvn_run("installing ${sample}" out ${CMAKE_COMMAND} --install ${WORK}/${sample})
endforeach()

# The pkg-config files, the way the driver guide builds without CMake.
set(pkg_config ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${prefix}/lib/pkgconfig
    --unset=PKG_CONFIG_LIBDIR pkg-config)
qvn_run("pkg-config --cflags" cflags ${pkg_config} --cflags quorvane-driver)
qvn_run("pkg-config --libs" libs ${pkg_config} --libs quorvane-driver)
separate_arguments(cflags UNIX_COMMAND "${cflags}")
separate_arguments(libs UNIX_COMMAND "${libs}")
qvn_run("building the driver with pkg-config" out ${COMPILER} -std=c++20 -shared -fPIC
    -fvisibility=hidden -Wl,--no-undefined ${cflags}
    ${SOURCE_DIR}/examples/sdk/metronome/Metronome.cpp -o ${WORK}/metronome-pkg-config.so ${libs})

# The folders come from the package found, so the modules land in the prefix or nowhere.
set(tree ${prefix}/lib/quorvane)
foreach(module plugins/linux/x64/spotlight.so data/unidevice/drivers/linux/x64/metronome.so)
    if(NOT EXISTS ${tree}/${module})
        message(FATAL_ERROR "the sample was not installed into ${tree}/${module}")
    endif()
endforeach()

qvn_sandbox(${WORK} sandbox)
qvn_run("the installed reference host" host ${sandbox} ${prefix}/bin/quorvane-host)
qvn_expect("${host}" "plugin path: ${tree}/plugins/linux/x64\n" "plug-in folder from the location")
# Only a library that answered 250 and gave its tools is destroyed at the end.
qvn_expect("${host}" "Destroying library: spotlight\n" "tool library")
string(REGEX MATCH "Destroying library: spotlight\n[^\n]*Tools in library: ([0-9]+)" _ "${host}")
if(NOT CMAKE_MATCH_1 EQUAL 1)
    message(FATAL_ERROR "the tool library should hold one tool:\n${host}")
endif()
qvn_expect("${host}" "library file: ${tree}/data/unidevice/drivers/linux/x64/metronome.so\n"
           "driver library")
# The driver says so from inside loadDevices, which the core calls only after the version check.
if(NOT host MATCHES "metronome: device [0-9]+ of [0-9]+ in the input layer")
    message(FATAL_ERROR "the driver library did not add its device:\n${host}")
endif()

qvn_run("creating a tool instance" probe ${sandbox} ${PROBE}
    ${tree}/lib/libquorvane-core.so "Spot Light" Intensity Cone)
qvn_expect("${probe}" "created \"Spot Light_01\"" "tool instance")
qvn_expect("${probe}" "node \"Spot Light_01_lamp\"" "host node of the instance")
qvn_expect("${probe}" "property \"Intensity\" = 0" "input property")
qvn_expect("${probe}" "property \"Cone\" = 0" "input property")
