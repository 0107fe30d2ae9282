# Icons and button images are drawn as SVG sources under art/ and rendered here to the PNG names
# the layouts use, inside the staged data folder: art/<path>.svg -> <stage>/data/<path>.png, and
# at twice the size -> <stage>/data/<path>@2x.png.
find_program(QVN_RSVG_CONVERT rsvg-convert)

file(GLOB_RECURSE QVN_ART_SOURCES RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}/art
     CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/art/*.svg)

set(QVN_ART_OUTPUTS)
if(QVN_RSVG_CONVERT)
    foreach(source IN LISTS QVN_ART_SOURCES)
        string(REGEX REPLACE "\\.svg$" ".png" target_name ${source})
        set(output ${QVN_STAGE_DIR}/data/${target_name})
        get_filename_component(output_dir ${output} DIRECTORY)
        # The @2x twin is what the components load on screens scaled to 200 %.
        string(REGEX REPLACE "\\.png$" "@2x.png" output_2x ${output})
        add_custom_command(
            OUTPUT ${output} ${output_2x}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${output_dir}
            COMMAND ${QVN_RSVG_CONVERT} --format=png -o ${output}
                    ${CMAKE_CURRENT_SOURCE_DIR}/art/${source}
            COMMAND ${QVN_RSVG_CONVERT} --format=png --zoom=2 -o ${output_2x}
                    ${CMAKE_CURRENT_SOURCE_DIR}/art/${source}
            DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/art/${source}
            VERBATIM)
        list(APPEND QVN_ART_OUTPUTS ${output} ${output_2x})
    endforeach()
else()
    message(WARNING "rsvg-convert (librsvg2-bin) not found: the windows' images are not rendered")
endif()

add_custom_target(artwork ALL DEPENDS ${QVN_ART_OUTPUTS})
