# Installing: the staged tree, the SDK for plug-in, driver and host adaptor authors, and the
# Debian package.
#
# The staged tree <stage>/quorvane goes to <prefix>/lib/quorvane unchanged, so the core library
# lands in <prefix>/lib/quorvane/lib and finds its install root (<prefix>/lib) from its own
# location; every program of its bin/ is linked from <prefix>/bin.
set(QVN_INSTALL_ROOT_DIR lib)
set(QVN_INSTALL_TREE ${QVN_INSTALL_ROOT_DIR}/quorvane)

# The interface versions, read from the headers that define them.
function(qvn_read_constant header name variable)
    file(STRINGS ${PROJECT_SOURCE_DIR}/src/${header} line REGEX "constexpr .* ${name} = [0-9]+;")
    if(NOT line MATCHES " = ([0-9]+)")
        message(FATAL_ERROR "no ${name} in src/${header}")
    endif()
    set(${variable} ${CMAKE_MATCH_1} PARENT_SCOPE)
endfunction()
qvn_read_constant(sdk/HostAdaptor.h CoreVersion QVN_CORE_VERSION)
qvn_read_constant(sdk/CCameraPlugin.h ToolModuleVersion QVN_TOOL_MODULE_VERSION)
qvn_read_constant(unidevice/DriverLibrary.h DriverLibraryVersion QVN_DRIVER_LIBRARY_VERSION)

# The SDK headers: every contract header of src/sdk, the driver library contract, and the few
# foundation headers they include. Copied into the build first, so the header check compiles
# exactly what gets installed.
file(GLOB qvn_contract_headers RELATIVE ${PROJECT_SOURCE_DIR}/src CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/src/sdk/*.h)
set(QVN_SDK_HEADERS ${qvn_contract_headers}
    unidevice/DriverLibrary.h unidevice/DriverContext.h unidevice/DeviceHandler.h
    unidevice/Driver.h unidevice/Device.h unidevice/Control.h unidevice/ControlTarget.h
    util/ReturnValue.h util/MessageNode.h util/Message.h util/DynamicObject.h
    util/Singleton.h util/SingletonReference.h util/xml/Element.h util/xml/ChildList.h
    util/xml/NodeArena.h)
set(QVN_SDK_INCLUDE_DIR ${CMAKE_BINARY_DIR}/sdk/include/quorvane)
set(staged_headers)
foreach(header ${QVN_SDK_HEADERS})
    add_custom_command(OUTPUT ${QVN_SDK_INCLUDE_DIR}/${header}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/src/${header}
                ${QVN_SDK_INCLUDE_DIR}/${header}
        DEPENDS ${PROJECT_SOURCE_DIR}/src/${header})
    list(APPEND staged_headers ${QVN_SDK_INCLUDE_DIR}/${header})
endforeach()
add_custom_target(sdk_headers ALL DEPENDS ${staged_headers})

# The runtime tree, stripped on request (cmake --install --strip, and the package).
install(DIRECTORY ${QVN_STAGE_DIR}/ DESTINATION ${QVN_INSTALL_TREE} USE_SOURCE_PERMISSIONS
        PATTERN ".keep" EXCLUDE PATTERN "__pycache__" EXCLUDE)
install(CODE "
    set(tree \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${QVN_INSTALL_TREE}\")
    if(CMAKE_INSTALL_DO_STRIP)
        file(GLOB_RECURSE binaries \"\${tree}/*.so\" \"\${tree}/bin/*\")
        foreach(binary \${binaries})
            execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded \"\${binary}\")
        endforeach()
    endif()
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(GLOB programs RELATIVE \"\${tree}/bin\" \"\${tree}/bin/*\")
    foreach(program \${programs})
        set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/\${program}\")
        file(CREATE_LINK ../${QVN_INSTALL_TREE}/bin/\${program} \"\${link}\" SYMBOLIC)
        list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${link}\")
    endforeach()")

# The SDK.
foreach(header ${QVN_SDK_HEADERS})
    get_filename_component(folder ${header} DIRECTORY)
    install(FILES ${PROJECT_SOURCE_DIR}/src/${header} DESTINATION include/quorvane/${folder})
endforeach()
if(TARGET quorvane_driverbase)
    install(FILES $<TARGET_FILE:quorvane_driverbase> DESTINATION lib
            RENAME libquorvane-driverbase.a)
endif()
include(CMakePackageConfigHelpers)
set(QVN_CMAKE_DIR lib/cmake/Quorvane)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/sdk/QuorvaneConfig.cmake.in
    ${CMAKE_BINARY_DIR}/sdk/QuorvaneConfig.cmake INSTALL_DESTINATION ${QVN_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/sdk/QuorvaneConfigVersion.cmake
    VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/sdk/QuorvaneConfig.cmake
              ${CMAKE_BINARY_DIR}/sdk/QuorvaneConfigVersion.cmake
              ${PROJECT_SOURCE_DIR}/cmake/sdk/QuorvaneModules.cmake
        DESTINATION ${QVN_CMAKE_DIR})
foreach(pc quorvane quorvane-driver)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/sdk/${pc}.pc.in ${CMAKE_BINARY_DIR}/sdk/${pc}.pc
                   @ONLY)
    install(FILES ${CMAKE_BINARY_DIR}/sdk/${pc}.pc DESTINATION lib/pkgconfig)
endforeach()

# The guides and the samples that build against an installed SDK.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION share/doc/quorvane)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/sdk/ DESTINATION share/doc/quorvane/examples)

# make package: a Debian package. Library dependencies come from the binaries (dpkg-shlibdeps);
# the Qt platform plug-ins and the font are loaded at run time, so they are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR "Morvik Vedidedivu")
set(CPACK_PACKAGE_CONTACT "Quorvane developers <quorvane@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Real-time animation tool core with its reference host and SDK")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "The core library of a family of real-time animation tools, the reference host\n"
    "quorvane-host, the template tool quorvane-prm, sample tools, drivers and templates, and\n"
    "the headers and CMake package for tool plug-in, driver library and host adaptor authors.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core")
include(CPack)
