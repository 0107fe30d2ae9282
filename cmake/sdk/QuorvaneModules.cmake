# Loadable modules for the Quorvane core: tool plug-in modules and driver libraries. Used by the
# installed package and by the project's own build.

# What every module the core loads needs: a plain file name (the core lists "*.so", no "lib"
# prefix games), only its exports visible, and no GNU unique symbols, which would pin the module
# in memory when the core unloads it at shut-down.
function(quorvane_module_properties target)
    set_target_properties(${target} PROPERTIES
        PREFIX ""
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON
        POSITION_INDEPENDENT_CODE ON)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        target_compile_options(${target} PRIVATE -fno-gnu-unique)
    endif()
endfunction()

# quorvane_add_tool_module(<name> <source>...): a tool plug-in module <name>.so that exports
# getVersion and getPlugin. It sees only the plug-in contract; a symbol left undefined fails the
# link rather than the core's load.
function(quorvane_add_tool_module name)
    add_library(${name} MODULE ${ARGN})
    target_link_libraries(${name} PRIVATE Quorvane::sdk)
    quorvane_module_properties(${name})
    target_link_options(${name} PRIVATE -Wl,--no-undefined)
endfunction()

# quorvane_add_driver_library(<name> <source>...): a driver library <name>.so that exports
# getVersion and loadDevices. It links its own copy of the input layer's base classes (Driver,
# Device, Control and the handler's operations), which run on the core's objects.
function(quorvane_add_driver_library name)
    add_library(${name} MODULE ${ARGN})
    target_link_libraries(${name} PRIVATE Quorvane::driverbase)
    quorvane_module_properties(${name})
    target_link_options(${name} PRIVATE -Wl,--no-undefined -Wl,--as-needed)
endfunction()
