# Builds the Debian package, unpacks it into a temporary root without installing it, and runs the
# reference host's demo from there: the package must carry everything the program needs from the
# project, and declare what it needs from the system.
#   cmake -D BUILD_DIR=... -D WORK=... -D VERSION=... -D CPACK=... -P DebianPackage.cmake
include(${CMAKE_CURRENT_LIST_DIR}/Sandbox.cmake)

file(REMOVE_RECURSE ${WORK})
qvn_run("cpack" out ${CPACK} -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK}/package)
file(GLOB packages ${WORK}/package/*.deb)
list(LENGTH packages count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one package, found: ${packages}\n${out}")
endif()

qvn_run("reading the control fields" control dpkg-deb -f ${packages} Package Version Depends)
qvn_expect("${control}" "Package: quorvane\n" "package name")
qvn_expect("${control}" "Version: ${VERSION}\n" "package version")
foreach(dependency libqt6widgets6 libqt6gui6 libqt6core6 libsdl2-2.0-0 libstdc++6
                   qt6-qpa-plugins fonts-dejavu-core)
    qvn_expect("${control}" "${dependency}" "declared dependency")
endforeach()

set(root ${WORK}/root)
qvn_run("unpacking" out dpkg-deb -x ${packages} ${root})
set(tree ${root}/usr/lib/quorvane)
foreach(file include/quorvane/sdk/CCameraPlugin.h lib/cmake/Quorvane/QuorvaneConfig.cmake
             lib/pkgconfig/quorvane.pc lib/libquorvane-driverbase.a)
    if(NOT EXISTS ${root}/usr/${file})
        message(FATAL_ERROR "the package lacks /usr/${file}")
    endif()
endforeach()

qvn_sandbox(${WORK} sandbox)
qvn_run("quorvane-host --version" version ${sandbox} ${root}/usr/bin/quorvane-host --version)
qvn_expect("${version}" "Quorvane ${VERSION} (core interface " "version line")
qvn_expect("${version}" "core library: ${tree}/lib/libquorvane-core.so" "core of the package")

qvn_run("quorvane-host --demo" demo ${sandbox} ${root}/usr/bin/quorvane-host --demo
    --output ${WORK}/demo-output)
qvn_expect("${demo}" "core library: ${tree}/lib/libquorvane-core.so" "core of the package")
qvn_expect("${demo}" "plugin path: ${tree}/plugins/linux/x64\n" "install root from the location")
qvn_expect("${demo}" "library file: ${tree}/data/unidevice/drivers/linux/x64/" "driver folder")
foreach(file scene.xml core.log)
    if(NOT EXISTS ${WORK}/demo-output/${file})
        message(FATAL_ERROR "the demo wrote no ${file}:\n${demo}")
    endif()
endforeach()
