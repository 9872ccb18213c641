# Artwork: every gui/resources/art/<name>.svg is rendered at build time, at the size
# its width and height give, to <name>.jpg, and at twice that size to <name>@2x.jpg for
# screens of higher density; both are embedded as the Qt resources ":/art/<name>.jpg" and
# ":/art/<name>@2x.jpg". Names are lower case; the program looks them up ignoring case.
# The same tool (tools/art) renders the pictures of the bundled sets as JPEG, GIF and BMP (samples/).
# "@PROJECT_VERSION@" in a drawing becomes the version the build is of.
function(ludra_add_artwork target)
    file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/gui/resources/art/*.svg)
    set(pictures_1x)
    set(pictures_2x)
    file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/art)
    foreach(drawing IN LISTS sources)
        get_filename_component(name ${drawing} NAME_WE)
        set(source ${CMAKE_CURRENT_BINARY_DIR}/art/${name}.svg)
        configure_file(${drawing} ${source} @ONLY)
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
            list(APPEND pictures_${scale}x ${picture})
        endforeach()
    endforeach()
    set_source_files_properties(${pictures_1x} ${pictures_2x} PROPERTIES GENERATED TRUE)
    # Two resources, so the 1x pictures lie together in the binary: reading one at 1x then maps
    # no page of the 2x pictures around it, and start-up memory stays as it was.
    qt_add_resources(${target} "artwork" PREFIX "/art" BASE ${CMAKE_CURRENT_BINARY_DIR}/art FILES ${pictures_1x})
    qt_add_resources(${target} "artwork2x" PREFIX "/art" BASE ${CMAKE_CURRENT_BINARY_DIR}/art FILES ${pictures_2x})
endfunction()
