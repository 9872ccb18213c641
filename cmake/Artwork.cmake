# Artwork: every gui/resources/art/<name>.svg is rendered at build time, at the size
# its width and height give, to <name>.jpg, and at twice that size to <name>@2x.jpg for
# screens of higher density; both are embedded as the Qt resources ":/art/<name>.jpg" and
# ":/art/<name>@2x.jpg". Names are lower case; the program looks them up ignoring case.
# The same tool (tools/art) renders the pictures of the bundled sets as JPEG, GIF and BMP (samples/).
function(ludra_add_artwork target)
    file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/gui/resources/art/*.svg)
    set(pictures)
    file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/art)
    foreach(source IN LISTS sources)
        get_filename_component(name ${source} NAME_WE)
        foreach(scale 1 2)
            if(scale EQUAL 1)
                set(file ${name}.jpg)
            else()
                set(file ${name}@${scale}x.jpg)
            endif()
            set(picture ${CMAKE_CURRENT_BINARY_DIR}/art/${file})
            add_custom_command(OUTPUT ${picture}
                COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:ludra-art> ${source} ${picture} --scale ${scale}
                DEPENDS ${source} ludra-art
                COMMENT "Rendering ${file}"
                VERBATIM)
            list(APPEND pictures ${picture})
        endforeach()
    endforeach()
    set_source_files_properties(${pictures} PROPERTIES GENERATED TRUE)
    qt_add_resources(${target} "artwork" PREFIX "/art" BASE ${CMAKE_CURRENT_BINARY_DIR}/art FILES ${pictures})
endfunction()
